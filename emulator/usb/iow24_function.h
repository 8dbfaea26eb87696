// SPDX-License-Identifier: GPL-2.0-or-later
// The USB side of an emulated IO-Warrior 24, as a Linux FunctionFS function:
// the descriptors of its two HID interfaces and the answers to the control
// requests the host sends them. Interface 0 is the pin interface: every
// SET_REPORT on it sets the two ports, which drive the display model.
// Interface 1 stands for the special-mode interface; its reports are counted
// but reach no pin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "emulator/display_model.h"

namespace emulator::usb {

// Bytes per report, without a report ID: the interrupt-IN endpoints' packet size.
inline constexpr std::size_t kPinReportSize = 2;
inline constexpr std::size_t kSpecialReportSize = 8;

// One control request as the host sent it (fields in host byte order; the
// interface number in `index` counts within the function).
struct ControlRequest {
  std::uint8_t request_type = 0;
  std::uint8_t request = 0;
  std::uint16_t value = 0;
  std::uint16_t index = 0;
  std::uint16_t length = 0;
};

struct Answer {
  enum class Kind {
    kStall,    // refuse the request
    kAck,      // no data stage: complete the status stage
    kReceive,  // read `length` bytes of data from the host, then call Received
    kSend,     // send `data` to the host
  };
  Kind kind = Kind::kStall;
  std::vector<std::uint8_t> data;
};

class Iow24Function {
 public:
  // `on_pin_report` is called with the three-byte report (ID 0, port 0,
  // port 1) after it has reached the display model.
  Iow24Function(DisplayModel& model, std::function<void(const std::uint8_t* report)> on_pin_report)
      : model_(model), on_pin_report_(std::move(on_pin_report)) {}

  // How to answer a request; anything the device does not know is stalled.
  Answer Respond(const ControlRequest& setup);
  // The data stage of a request that Respond answered with kReceive.
  void Received(const ControlRequest& setup, const std::uint8_t* data, std::size_t size);

  [[nodiscard]] std::size_t SpecialReports() const { return special_reports_; }
  [[nodiscard]] std::size_t IdleRequests() const { return idle_requests_; }

  // What is written to a FunctionFS ep0 before the function can be bound:
  // the full- and high-speed descriptors, then the (empty) string table.
  static std::vector<std::uint8_t> FunctionFsDescriptors();
  static std::vector<std::uint8_t> FunctionFsStrings();
  // The HID report descriptor of interface 0 or 1.
  static std::vector<std::uint8_t> ReportDescriptor(unsigned interface_number);

 private:
  DisplayModel& model_;
  std::function<void(const std::uint8_t* report)> on_pin_report_;
  std::size_t special_reports_ = 0;
  std::size_t idle_requests_ = 0;
};

}  // namespace emulator::usb
