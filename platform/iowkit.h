// SPDX-License-Identifier: GPL-2.0-or-later
// The three IO-Warrior controller calls the program relies on: open the first
// suitable controller, write one report to a pipe, close it again.
#pragma once

#include <cstdint>

namespace platform {

// Opaque 32-bit device handle; 0 means that no device could be opened.
using IowkitHandle = std::uint32_t;

// Pipe 0 is the controller's pin interface.
inline constexpr std::uint32_t kPinPipe = 0;

// The controller the display hangs on, as USB names it: Code Mercenaries'
// IO-Warrior 24. Its interface 0 is the pin interface.
inline constexpr std::uint16_t kCodeMercenariesVendor = 0x07C0;
inline constexpr std::uint16_t kIoWarrior24Product = 0x1501;

class Iowkit {
 public:
  virtual ~Iowkit() = default;

  // Opens the first suitable controller; 0 when there is none.
  virtual IowkitHandle IowKitOpenDevice() = 0;

  // Writes one report (byte 0 is the report ID) to the given pipe. Returns the
  // number of bytes written, 0 on failure.
  virtual std::uint32_t IowKitWrite(IowkitHandle handle, std::uint32_t pipe,
                                    const std::uint8_t* buffer, std::uint32_t length) = 0;

  virtual void IowKitCloseDevice(IowkitHandle handle) = 0;
};

}  // namespace platform
