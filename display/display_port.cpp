// SPDX-License-Identifier: GPL-2.0-or-later
#include "display/display_port.h"

namespace display {
namespace {

constexpr std::uint8_t kClearLine = 0x80;
constexpr std::uint8_t kLeftStrobe = 0x04;
constexpr std::uint8_t kRightStrobe = 0x02;
constexpr std::uint8_t kReportLength = 3;

}  // namespace

std::uint8_t IdleControlByte(std::uint8_t position) {
  // Digit addresses count from the module's right end: its leftmost
  // character is digit 3.
  if (position < 4) {
    const unsigned address = 3U - position;
    return static_cast<std::uint8_t>(0x9F | (address << 5));
  }
  const unsigned address = 7U - position;
  return static_cast<std::uint8_t>(0xE7 | (address << 3));
}

void DisplayPort::Send() {
  Report[1] = ControlByte;
  Report[2] = DataByte;
  // A link that was closed sends nothing; a failed or short write is not
  // retried and the next report goes out regardless.
  if (DeviceHandle == 0) return;
  iowkit_.IowKitWrite(DeviceHandle, platform::kPinPipe, Report.data(), kReportLength);
}

void DisplayPort::ClearDisplay() {
  Report[0] = 0;
  DataByte = 0;
  ControlByte = 0xFF;
  Send();
  ControlByte &= static_cast<std::uint8_t>(~kClearLine);
  Send();
  ControlByte |= kClearLine;
  Send();
}

void DisplayPort::PutChar() {
  // Always starts afresh from the position's idle value, whatever was sent before.
  ControlByte = IdleControlByte(Position);
  Send();
  const std::uint8_t strobe = Position < 4 ? kLeftStrobe : kRightStrobe;
  ControlByte &= static_cast<std::uint8_t>(~strobe);
  Send();
  ControlByte |= strobe;
  Send();
}

}  // namespace display
