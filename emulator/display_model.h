// SPDX-License-Identifier: GPL-2.0-or-later
// A model of the display hardware: two SLG 2016 four-character modules wired
// to the controller's two ports. It sees only pin levels, report by report.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace emulator {

class DisplayModel {
 public:
  static constexpr std::size_t kPositions = 8;
  static constexpr char kBlank = ' ';

  // Applies one three-byte report: report ID, port 0, port 1. Reports of any
  // other length, or with a report ID other than 0, do not reach the pins.
  void Feed(const std::uint8_t* report, std::size_t length);
  // Sets both ports at once, as a report does.
  void SetPorts(std::uint8_t port0, std::uint8_t port1);

  // The character code each position shows, leftmost first; a blank digit
  // shows as kBlank.
  [[nodiscard]] std::string Shown() const;
  // Code at one position; false in `lit` when the digit is blank.
  [[nodiscard]] std::uint8_t CodeAt(std::size_t position, bool* lit) const;

  [[nodiscard]] std::uint8_t Port0() const { return port0_; }
  [[nodiscard]] std::uint8_t Port1() const { return port1_; }
  [[nodiscard]] std::size_t ReportsSeen() const { return reports_; }

 private:
  struct Digit {
    std::uint8_t code = 0;
    bool lit = false;
  };
  struct Module {
    int address_high_bit;
    int address_low_bit;
    int strobe_bit;
    std::size_t leftmost_position;
  };

  void Latch(const Module& module, std::uint8_t port0, std::uint8_t port1);

  // Power-on level of the controller's pins is high.
  std::uint8_t port0_ = 0xFF;
  std::uint8_t port1_ = 0xFF;
  std::array<Digit, kPositions> digits_{};
  std::size_t reports_ = 0;
};

}  // namespace emulator
