// SPDX-License-Identifier: GPL-2.0-or-later
// Pin-level protocol of the two SLG 2016 modules on the controller's ports:
// port 0 carries the control lines, port 1 the character code.
//
// Port 0 bits: 7 clear (both modules, active low); 6/5 left module digit
// address high/low; 4/3 right module digit address high/low; 2 left write
// strobe (active low); 1 right write strobe (active low); 0 always 1.
#pragma once

#include <array>
#include <cstdint>

#include "platform/iowkit.h"

namespace display {

// Port 0 value with both strobes high and the given position's module
// addressed; the other module's address lines stay at 1.
std::uint8_t IdleControlByte(std::uint8_t position);

class DisplayPort {
 public:
  explicit DisplayPort(platform::Iowkit& iowkit) : iowkit_(iowkit) {}

  // Blanks both modules: 00 FF 00, 00 7F 00, 00 FF 00.
  void ClearDisplay();
  // Writes DataByte at Position (0-7) with three reports: idle, strobe low,
  // strobe high.
  void PutChar();

  platform::IowkitHandle DeviceHandle = 0;
  // Bytes 0-2 are the report that goes out; 3 and 4 are never sent.
  std::array<std::uint8_t, 5> Report{};
  std::uint8_t ControlByte = 0;
  std::uint8_t DataByte = 0;
  std::uint8_t Position = 0;

 private:
  void Send();

  platform::Iowkit& iowkit_;
};

}  // namespace display
