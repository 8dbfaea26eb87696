// SPDX-License-Identifier: GPL-2.0-or-later
#include "emulator/display_model.h"

namespace emulator {
namespace {

constexpr int kClearBit = 7;

bool High(std::uint8_t port, int bit) { return ((port >> bit) & 1U) != 0; }

}  // namespace

void DisplayModel::Feed(const std::uint8_t* report, std::size_t length) {
  if (report == nullptr || length != 3 || report[0] != 0) return;
  SetPorts(report[1], report[2]);
}

void DisplayModel::SetPorts(std::uint8_t port0, std::uint8_t port1) {
  static constexpr Module kLeft{6, 5, 2, 0};
  static constexpr Module kRight{4, 3, 1, 4};
  ++reports_;
  const std::uint8_t previous = port0_;
  port0_ = port0;
  port1_ = port1;
  if (!High(port0, kClearBit)) {
    // While the shared clear line is low both modules are blank.
    digits_ = {};
    return;
  }
  for (const Module& module : {kLeft, kRight}) {
    // A module stores the code on the rising edge of its write strobe.
    if (!High(previous, module.strobe_bit) && High(port0, module.strobe_bit)) {
      Latch(module, port0, port1);
    }
  }
}

void DisplayModel::Latch(const Module& module, std::uint8_t port0, std::uint8_t port1) {
  const unsigned address = (High(port0, module.address_high_bit) ? 2U : 0U) +
                           (High(port0, module.address_low_bit) ? 1U : 0U);
  // Digit 3 is the module's leftmost character.
  Digit& digit = digits_[module.leftmost_position + 3 - address];
  digit.code = port1;
  digit.lit = true;
}

std::string DisplayModel::Shown() const {
  std::string shown;
  for (const Digit& digit : digits_) shown += digit.lit ? static_cast<char>(digit.code) : kBlank;
  return shown;
}

std::uint8_t DisplayModel::CodeAt(std::size_t position, bool* lit) const {
  const Digit& digit = digits_.at(position);
  if (lit != nullptr) *lit = digit.lit;
  return digit.code;
}

}  // namespace emulator
