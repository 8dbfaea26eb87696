// SPDX-License-Identifier: GPL-2.0-or-later
// IO-Warrior controller calls on Windows. The IO-Warrior 24 is a HID device
// there, driven by Windows' own HID class driver: no vendor driver or library
// is needed. The system calls sit behind HidSystem so that the choice of
// interface, the report handling and the recovery from an unplugged
// controller can be tested without a device.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/iowkit.h"
#include "platform/reporter.h"
#include "platform/result.h"
#include "platform/shared/reconnecting_iowkit.h"

namespace platform {

// What a HID device interface path tells about the device, e.g.
// \\?\hid#vid_07c0&pid_1501&mi_00#8&1c1b2a5f&0&0000#{4d1e55b2-...}.
// A part the path does not name stays empty.
struct HidPathInfo {
  std::optional<std::uint16_t> vendor;
  std::optional<std::uint16_t> product;
  std::optional<std::uint8_t> interface_number;
};
HidPathInfo ParseHidPath(const std::string& path);

// Handle of an interface opened through HidSystem; 0 for none.
using HidDevice = std::uintptr_t;

class HidSystem {
 public:
  virtual ~HidSystem() = default;
  // The paths of the HID device interfaces present, in the system's order.
  virtual std::vector<std::string> ListInterfaces() = 0;
  // Opens an interface for writing reports; failures carry the Windows
  // error code.
  virtual Result<HidDevice> Open(const std::string& path) = 0;
  // The USB vendor and product of an open interface.
  virtual bool Attributes(HidDevice device, std::uint16_t* vendor, std::uint16_t* product) = 0;
  // Bytes per output report, report ID included; 0 when unknown.
  virtual std::uint32_t OutputReportLength(HidDevice device) = 0;
  // Bytes written: the whole report, or a failure.
  virtual Result<std::size_t> Write(HidDevice device, const std::uint8_t* data,
                                    std::size_t size) = 0;
  virtual void Close(HidDevice device) = 0;
};

// The real calls: SetupAPI for the list, hid.dll and the file API for the rest.
std::unique_ptr<HidSystem> MakeWindowsHidSystem();

// Whether a failed write's Windows error code means that the controller is
// gone (unplugged, or its handle dead after the machine slept), not merely
// that one report failed.
bool MeansControllerGone(int error);

// The controller calls on Windows' HID interfaces. A controller that is
// unplugged while open, or whose handle no longer works after the machine
// woke from sleep, is lost and found again as ReconnectingIowkit says: at
// most once a second, under any device path.
class HidIowkit final : public ReconnectingIowkit {
 public:
  // `reporter` says each interface of ours that cannot be opened when a
  // device is opened, and that a controller was lost or is back.
  HidIowkit(HidSystem& hid, Clock& clock, Reporter& reporter);
  // The same, owning the HID calls it runs on.
  HidIowkit(std::unique_ptr<HidSystem> hid, Clock& clock, Reporter& reporter);
};

}  // namespace platform
