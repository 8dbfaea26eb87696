// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/iowarrior_linux.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace platform {
namespace {

// The driver's IOW_GETINFO ioctl and its answer, as the kernel lays them out.
struct KernelIowarriorInfo {
  std::uint32_t vendor;
  std::uint32_t product;
  std::uint8_t serial[9];
  std::uint32_t revision;
  std::uint32_t speed;
  std::uint32_t power;
  std::uint32_t if_num;
  std::uint32_t report_size;
};
static_assert(sizeof(KernelIowarriorInfo) == 40, "layout of the driver's struct iowarrior_info");
constexpr unsigned kCodeMercsMagic = 0xC0;

}  // namespace

const unsigned long kIowGetInfo = _IOR(kCodeMercsMagic, 3, KernelIowarriorInfo);

namespace {

constexpr std::string_view kNodePrefix = "iowarrior";

bool IsNodeName(const std::string& name) {
  if (name.size() <= kNodePrefix.size() || name.compare(0, kNodePrefix.size(), kNodePrefix) != 0) {
    return false;
  }
  return std::all_of(name.begin() + static_cast<long>(kNodePrefix.size()), name.end(),
                     [](char c) { return c >= '0' && c <= '9'; });
}

unsigned long NodeNumber(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  unsigned long number = ~0UL;
  // A number too large for its type sorts last, as any other odd name does.
  if (!IsNodeName(name) ||
      std::from_chars(name.data() + kNodePrefix.size(), name.data() + name.size(), number).ec !=
          std::errc()) {
    return ~0UL;
  }
  return number;
}

// A sysfs attribute holding a hexadecimal number, such as idVendor ("07c0").
std::optional<std::uint32_t> ReadHex(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::uint32_t value = 0;
  if (!(in >> std::hex >> value)) return std::nullopt;
  return value;
}

// The failure the last system call left in errno.
Failure SystemFailure() {
  const int error = errno;
  return Failure{error, std::strerror(error)};
}

class LinuxIowarriorKernel final : public IowarriorKernel {
 public:
  LinuxIowarriorKernel(std::string directory, std::string sysfs_class)
      : directory_(std::move(directory)), sysfs_class_(std::move(sysfs_class)) {}

  std::vector<std::string> ListNodes() override {
    std::vector<std::string> paths;
    // The error_code forms throughout: a folder that vanishes or cannot be
    // read while it is listed ends the listing, not the program.
    std::error_code ec;
    for (std::filesystem::directory_iterator it(directory_, ec), end; !ec && it != end;
         it.increment(ec)) {
      if (IsNodeName(it->path().filename().string())) paths.push_back(it->path().string());
    }
    SortNodesByNumber(paths);
    return paths;
  }

  std::optional<IowarriorNodeInfo> Describe(const std::string& path) override {
    // <class>/iowarriorN/device is the USB interface; its parent the device.
    const std::filesystem::path interface =
        std::filesystem::path(sysfs_class_) / std::filesystem::path(path).filename() / "device";
    const auto number = ReadHex(interface / "bInterfaceNumber");
    const auto vendor = ReadHex(interface / ".." / "idVendor");
    const auto product = ReadHex(interface / ".." / "idProduct");
    if (!number || !vendor || !product) return std::nullopt;
    IowarriorNodeInfo info;
    info.vendor = *vendor;
    info.product = *product;
    info.interface_number = *number;
    return info;
  }

  Result<int> Open(const std::string& path) override {
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return SystemFailure();
    return fd;
  }

  Result<IowarriorNodeInfo> GetInfo(int fd) override {
    KernelIowarriorInfo raw{};
    if (::ioctl(fd, kIowGetInfo, &raw) != 0) return SystemFailure();
    IowarriorNodeInfo info;
    info.vendor = raw.vendor;
    info.product = raw.product;
    info.interface_number = raw.if_num;
    info.report_size = raw.report_size;
    return info;
  }

  Result<std::size_t> Write(int fd, const std::uint8_t* data, std::size_t size) override {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) return SystemFailure();
    return static_cast<std::size_t>(written);
  }

  void Close(int fd) override { ::close(fd); }

 private:
  std::string directory_;
  std::string sysfs_class_;
};

bool IsIoWarrior24PinInterface(const IowarriorNodeInfo& info) {
  return info.vendor == kCodeMercenariesVendor && info.product == kIoWarrior24Product &&
         info.interface_number == 0;
}

}  // namespace

void SortNodesByNumber(std::vector<std::string>& paths) {
  std::stable_sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
    return NodeNumber(a) < NodeNumber(b);
  });
}

std::unique_ptr<IowarriorKernel> MakeLinuxIowarriorKernel(std::string directory,
                                                          std::string sysfs_class) {
  return std::make_unique<LinuxIowarriorKernel>(std::move(directory), std::move(sysfs_class));
}

bool MeansControllerGone(int error) {
  // ENODEV: the driver's answer once the device is disconnected; the others
  // come from a transfer cut short by the disconnection or from a node that
  // is no longer there.
  return error == ENODEV || error == ESHUTDOWN || error == ENXIO || error == ENOENT;
}

LinuxIowkit::LinuxIowkit(IowarriorKernel& kernel, Clock& clock, Reporter& reporter)
    : kernel_(kernel), clock_(clock), reporter_(reporter) {}

LinuxIowkit::LinuxIowkit(std::unique_ptr<IowarriorKernel> kernel, Clock& clock, Reporter& reporter)
    : owned_kernel_(std::move(kernel)),
      kernel_(*owned_kernel_),
      clock_(clock),
      reporter_(reporter) {}

LinuxIowkit::~LinuxIowkit() {
  for (const auto& [handle, node] : open_) {
    if (node.fd >= 0) kernel_.Close(node.fd);
  }
}

std::optional<LinuxIowkit::OpenNode> LinuxIowkit::FindPinInterface(bool report) {
  for (const std::string& path : kernel_.ListNodes()) {
    // Only the pin interface (interface 0) of an IO-Warrior 24 drives the
    // display. Where sysfs tells, other nodes are passed over unopened, so a
    // node we may not open is only reported when it is the one we want.
    const auto described = kernel_.Describe(path);
    if (described && !IsIoWarrior24PinInterface(*described)) continue;
    const Result<int> fd = kernel_.Open(path);
    if (!fd) {
      if (report) reporter_.Say("cannot open " + path + ": " + fd.Error().text);
      continue;
    }
    const Result<IowarriorNodeInfo> info = kernel_.GetInfo(*fd);
    if (info && IsIoWarrior24PinInterface(*info) && info->report_size > 0) {
      OpenNode node;
      node.fd = *fd;
      node.report_size = info->report_size;
      node.path = path;
      return node;
    }
    kernel_.Close(*fd);
  }
  return std::nullopt;
}

IowkitHandle LinuxIowkit::IowKitOpenDevice() {
  auto node = FindPinInterface(/*report=*/true);
  if (!node) return 0;
  const IowkitHandle handle = next_handle_++;
  open_.emplace(handle, std::move(*node));
  return handle;
}

bool LinuxIowkit::Reconnect(OpenNode& node) {
  const double now = clock_.MonotonicSeconds();
  if (now - node.last_search < 1.0) return false;
  node.last_search = now;
  // Quietly: a node that appears before its permissions are set is simply
  // tried again a second later.
  auto found = FindPinInterface(/*report=*/false);
  if (!found) return false;
  node.fd = found->fd;
  node.report_size = found->report_size;
  node.path = found->path;
  reporter_.Say("the IO-Warrior 24 is back at " + node.path);
  return true;
}

std::uint32_t LinuxIowkit::IowKitWrite(IowkitHandle handle, std::uint32_t pipe,
                                       const std::uint8_t* buffer, std::uint32_t length) {
  const auto it = open_.find(handle);
  if (it == open_.end() || pipe != kPinPipe || buffer == nullptr || length < 2) return 0;
  OpenNode& node = it->second;
  if (node.fd < 0 && !Reconnect(node)) return 0;
  // The driver takes exactly one report of its report size per write, without
  // the report ID that leads the caller's buffer.
  std::vector<std::uint8_t> ports(node.report_size, 0);
  std::copy_n(buffer + 1, std::min<std::size_t>(length - 1, ports.size()), ports.begin());
  const Result<std::size_t> written = kernel_.Write(node.fd, ports.data(), ports.size());
  if (!written && MeansControllerGone(written.Error().code)) {
    reporter_.Say("lost the IO-Warrior 24 at " + node.path + ": " + written.Error().text);
    kernel_.Close(node.fd);
    node.fd = -1;
    node.last_search = clock_.MonotonicSeconds();
    return 0;
  }
  if (!written || *written == 0) return 0;
  return static_cast<std::uint32_t>(std::min<std::size_t>(length, *written + 1));
}

void LinuxIowkit::IowKitCloseDevice(IowkitHandle handle) {
  const auto it = open_.find(handle);
  if (it == open_.end()) return;
  if (it->second.fd >= 0) kernel_.Close(it->second.fd);
  open_.erase(it);
}

}  // namespace platform
