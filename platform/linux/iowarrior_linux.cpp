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
#include <map>

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

namespace {

// The iowarrior driver's nodes as pin interfaces: a link is a node's file
// descriptor.
class Nodes final : public PinInterfaces {
 public:
  Nodes(IowarriorKernel& kernel, Reporter& reporter) : kernel_(kernel), reporter_(reporter) {}
  Nodes(std::unique_ptr<IowarriorKernel> kernel, Reporter& reporter)
      : owned_kernel_(std::move(kernel)), kernel_(*owned_kernel_), reporter_(reporter) {}

  std::optional<Opened> OpenFirst(bool report) override {
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
        report_sizes_[*fd] = info->report_size;
        return Opened{static_cast<std::uintptr_t>(*fd), path};
      }
      kernel_.Close(*fd);
    }
    return std::nullopt;
  }

  Result<std::uint32_t> Write(std::uintptr_t link, const std::uint8_t* report,
                              std::uint32_t length) override {
    if (length < 2) return std::uint32_t{0};
    const int fd = static_cast<int>(link);
    // The driver takes exactly one report of its report size per write,
    // without the report ID that leads the caller's buffer.
    std::vector<std::uint8_t> ports(report_sizes_.at(fd), 0);
    std::copy_n(report + 1, std::min<std::size_t>(length - 1, ports.size()), ports.begin());
    const Result<std::size_t> written = kernel_.Write(fd, ports.data(), ports.size());
    if (!written) return written.Error();
    if (*written == 0) return std::uint32_t{0};
    return static_cast<std::uint32_t>(std::min<std::size_t>(length, *written + 1));
  }

  void Close(std::uintptr_t link) override {
    const int fd = static_cast<int>(link);
    report_sizes_.erase(fd);
    kernel_.Close(fd);
  }

  [[nodiscard]] bool MeansGone(const Failure& failure) const override {
    return MeansControllerGone(failure.code);
  }

 private:
  std::unique_ptr<IowarriorKernel> owned_kernel_;  // empty when the caller owns it
  IowarriorKernel& kernel_;
  Reporter& reporter_;
  std::map<int, std::uint32_t> report_sizes_;  // of each open node's descriptor
};

}  // namespace

LinuxIowkit::LinuxIowkit(IowarriorKernel& kernel, Clock& clock, Reporter& reporter)
    : ReconnectingIowkit(std::make_unique<Nodes>(kernel, reporter), clock, reporter) {}

LinuxIowkit::LinuxIowkit(std::unique_ptr<IowarriorKernel> kernel, Clock& clock, Reporter& reporter)
    : ReconnectingIowkit(std::make_unique<Nodes>(std::move(kernel), reporter), clock, reporter) {}

}  // namespace platform
