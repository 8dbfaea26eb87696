// SPDX-License-Identifier: GPL-2.0-or-later
// IO-Warrior controller calls on Linux, on top of the kernel's iowarrior
// driver (/dev/usb/iowarrior*). The kernel calls sit behind IowarriorKernel so
// that the choice of node, the report handling and the recovery from an
// unplugged controller can be tested without a device.
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

// The request number of the driver's IOW_GETINFO ioctl.
extern const unsigned long kIowGetInfo;

// What the driver's IOW_GETINFO tells about one node.
struct IowarriorNodeInfo {
  std::uint32_t vendor = 0;
  std::uint32_t product = 0;
  std::uint32_t interface_number = 0;
  std::uint32_t report_size = 0;  // bytes per write, without the report ID
};

class IowarriorKernel {
 public:
  virtual ~IowarriorKernel() = default;
  // Device node paths in the driver's numbering order.
  virtual std::vector<std::string> ListNodes() = 0;
  // What sysfs tells about a node without opening it (report_size stays 0);
  // nothing when sysfs does not say.
  virtual std::optional<IowarriorNodeInfo> Describe(const std::string& path) = 0;
  // A file descriptor; failures carry the errno value.
  virtual Result<int> Open(const std::string& path) = 0;
  virtual Result<IowarriorNodeInfo> GetInfo(int fd) = 0;
  // Bytes written.
  virtual Result<std::size_t> Write(int fd, const std::uint8_t* data, std::size_t size) = 0;
  virtual void Close(int fd) = 0;
};

// The real kernel calls on the nodes named iowarrior<N> in `directory`, with
// their USB identity read from `sysfs_class` (the driver's usbmisc class).
std::unique_ptr<IowarriorKernel> MakeLinuxIowarriorKernel(
    std::string directory = "/dev/usb", std::string sysfs_class = "/sys/class/usbmisc");

// Sorts node paths by the number after "iowarrior" (iowarrior2 before iowarrior10).
void SortNodesByNumber(std::vector<std::string>& paths);

// Whether a failed write's errno value means that the controller is gone
// (unplugged, or its driver unbound), not merely that one report failed.
bool MeansControllerGone(int error);

// The controller calls on the iowarrior driver's nodes. A controller that is
// unplugged while open is lost and found again as ReconnectingIowkit says:
// at most once a second, under any node.
class LinuxIowkit final : public ReconnectingIowkit {
 public:
  // `reporter` says each node that exists but cannot be opened when a device
  // is opened, and that a controller was lost or is back.
  LinuxIowkit(IowarriorKernel& kernel, Clock& clock, Reporter& reporter);
  // The same, owning the kernel calls it runs on.
  LinuxIowkit(std::unique_ptr<IowarriorKernel> kernel, Clock& clock, Reporter& reporter);
};

}  // namespace platform
