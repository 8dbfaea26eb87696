// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/iowarrior_linux.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "fakes.h"

namespace {

using platform::IowarriorNodeInfo;

platform::Failure Errno(int error) { return platform::Failure{error, std::strerror(error)}; }

// The kernel side: nodes with their IOW_GETINFO answers and open errors.
// Removing a node unplugs it: writes on a descriptor of it then fail with
// ENODEV.
class FakeKernel : public platform::IowarriorKernel {
 public:
  struct Node {
    IowarriorNodeInfo info;
    int open_error = 0;
    bool in_sysfs = false;  // whether Describe tells about it
  };
  std::vector<std::string> ListNodes() override {
    std::vector<std::string> paths;
    for (const auto& [path, node] : nodes) paths.push_back(path);
    platform::SortNodesByNumber(paths);
    return paths;
  }
  std::optional<IowarriorNodeInfo> Describe(const std::string& path) override {
    const Node& node = nodes.at(path);
    if (!node.in_sysfs) return std::nullopt;
    return IowarriorNodeInfo{node.info.vendor, node.info.product, node.info.interface_number, 0};
  }
  platform::Result<int> Open(const std::string& path) override {
    opened.push_back(path);
    const auto it = nodes.find(path);
    if (it == nodes.end() || it->second.open_error != 0) {
      return Errno(it == nodes.end() ? ENOENT : it->second.open_error);
    }
    const int fd = next_fd++;
    fds[fd] = path;
    return fd;
  }
  platform::Result<IowarriorNodeInfo> GetInfo(int fd) override { return nodes.at(fds.at(fd)).info; }
  platform::Result<std::size_t> Write(int fd, const std::uint8_t* data, std::size_t size) override {
    const std::string& path = fds.at(fd);
    if (nodes.count(path) == 0 || write_error != 0) {
      ++failed_writes;
      return Errno(nodes.count(path) == 0 ? ENODEV : write_error);
    }
    written.emplace_back(path, std::vector<std::uint8_t>(data, data + size));
    return size;
  }
  void Close(int fd) override {
    closed.push_back(fds.at(fd));
    fds.erase(fd);
  }

  std::map<std::string, Node> nodes;
  std::map<int, std::string> fds;
  int next_fd = 3;
  int write_error = 0;  // errno of every write while not 0
  int failed_writes = 0;
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> written;
  std::vector<std::string> closed;
  std::vector<std::string> opened;
};

constexpr IowarriorNodeInfo kIow24Pins{0x07C0, 0x1501, 0, 2};
constexpr IowarriorNodeInfo kIow24Special{0x07C0, 0x1501, 1, 8};
constexpr IowarriorNodeInfo kIow40Pins{0x07C0, 0x1500, 0, 4};

// The layer on the fake kernel, with a clock that moves only when a test
// advances it.
struct Layer {
  FakeKernel kernel;
  fakes::FakeClock clock;
  fakes::Said errors;
  platform::LinuxIowkit iowkit{kernel, clock, errors.reporter};
};

TEST(LinuxIowkit, OpensTheFirstPinInterfaceOfAnIoWarrior24AndSkipsTheRest) {
  Layer layer;
  auto& [kernel, clock, errors, iowkit] = layer;
  // A pin interface whose driver tells no report size cannot take a report.
  constexpr IowarriorNodeInfo kNoReportSize{0x07C0, 0x1501, 0, 0};
  kernel.nodes = {{"/dev/usb/iowarrior0", {kIow40Pins}},
                  {"/dev/usb/iowarrior1", {kIow24Special}},
                  {"/dev/usb/iowarrior10", {kIow24Pins}},
                  {"/dev/usb/iowarrior2", {kNoReportSize}},
                  {"/dev/usb/iowarrior3", {kIow24Pins}}};
  const platform::IowkitHandle handle = iowkit.IowKitOpenDevice();
  ASSERT_NE(handle, 0U);
  EXPECT_EQ(kernel.fds.size(), 1U);
  EXPECT_EQ(kernel.fds.begin()->second, "/dev/usb/iowarrior3") << "iowarrior3 comes before 10";
  EXPECT_EQ(kernel.closed, (std::vector<std::string>{"/dev/usb/iowarrior0", "/dev/usb/iowarrior1",
                                                     "/dev/usb/iowarrior2"}));
  EXPECT_EQ(errors.str(), "");

  iowkit.IowKitCloseDevice(handle);
  EXPECT_TRUE(kernel.fds.empty());
  iowkit.IowKitCloseDevice(handle);  // a second close is harmless
  EXPECT_EQ(kernel.closed.size(), 4U);
}

TEST(LinuxIowkit, NoSuitableNodeMeansNoDeviceAndUnopenableNodesAreNamed) {
  Layer layer;
  auto& [kernel, clock, errors, iowkit] = layer;
  EXPECT_EQ(iowkit.IowKitOpenDevice(), 0U) << "no nodes at all";

  kernel.nodes = {{"/dev/usb/iowarrior0", {kIow24Pins, EACCES}},
                  {"/dev/usb/iowarrior1", {kIow24Special}},
                  {"/dev/usb/iowarrior2", {kIow40Pins}}};
  EXPECT_EQ(iowkit.IowKitOpenDevice(), 0U);
  EXPECT_EQ(errors.str(), "statusanzeige: cannot open /dev/usb/iowarrior0: Permission denied\n");
  EXPECT_TRUE(kernel.fds.empty()) << "every node opened for a look is closed again";
}

TEST(LinuxIowkit, WhereSysfsTellsOnlyThePinInterfaceIsOpenedOrReported) {
  Layer layer;
  auto& [kernel, clock, errors, iowkit] = layer;
  kernel.nodes = {{"/dev/usb/iowarrior0", {kIow40Pins, EACCES, true}},
                  {"/dev/usb/iowarrior1", {kIow24Pins, EACCES, true}},
                  {"/dev/usb/iowarrior2", {kIow24Special, EACCES, true}},
                  {"/dev/usb/iowarrior3", {kIow24Pins, 0, true}}};
  EXPECT_NE(iowkit.IowKitOpenDevice(), 0U);
  EXPECT_EQ(kernel.opened,
            (std::vector<std::string>{"/dev/usb/iowarrior1", "/dev/usb/iowarrior3"}));
  EXPECT_EQ(errors.str(), "statusanzeige: cannot open /dev/usb/iowarrior1: Permission denied\n");
}

TEST(LinuxIowkit, WritesThePortBytesWithoutTheReportIdInTheDriversReportSize) {
  Layer layer;
  auto& [kernel, clock, errors, iowkit] = layer;
  kernel.nodes = {{"/dev/usb/iowarrior0", {kIow24Pins}}};
  const auto handle = iowkit.IowKitOpenDevice();
  const std::uint8_t report[5] = {0x00, 0xE5, 0x41, 0x99, 0x99};
  EXPECT_EQ(iowkit.IowKitWrite(handle, 0, report, 3), 3U);
  ASSERT_EQ(kernel.written.size(), 1U);
  EXPECT_EQ(kernel.written[0].second, (std::vector<std::uint8_t>{0xE5, 0x41}));

  // Wrong handle, other pipe, no data: nothing reaches the kernel.
  EXPECT_EQ(iowkit.IowKitWrite(handle + 1, 0, report, 3), 0U);
  EXPECT_EQ(iowkit.IowKitWrite(handle, 1, report, 3), 0U);
  EXPECT_EQ(iowkit.IowKitWrite(handle, 0, nullptr, 3), 0U);
  EXPECT_EQ(kernel.written.size(), 1U);

  kernel.write_error = EIO;
  EXPECT_EQ(iowkit.IowKitWrite(handle, 0, report, 3), 0U) << "a failed write reports 0 bytes";
  iowkit.IowKitCloseDevice(handle);
  EXPECT_EQ(iowkit.IowKitWrite(handle, 0, report, 3), 0U) << "closed";
}

// Writes one report to the handle; true when the driver took it.
bool Send(platform::LinuxIowkit& iowkit, platform::IowkitHandle handle, std::uint8_t port0) {
  const std::uint8_t report[3] = {0x00, port0, 0x41};
  return iowkit.IowKitWrite(handle, platform::kPinPipe, report, 3) == 3U;
}

// When and how often it looks again is the shared layer's, tested there; here
// the nodes: the dead one closed, the pin interface found under another.
TEST(LinuxIowkit, AnUnpluggedControllerIsReportedOnceAndFoundAgainUnderAnotherNode) {
  Layer layer;
  auto& [kernel, clock, errors, iowkit] = layer;
  kernel.nodes = {{"/dev/usb/iowarrior0", {kIow24Pins, 0, true}},
                  {"/dev/usb/iowarrior1", {kIow24Special, 0, true}}};
  const auto handle = iowkit.IowKitOpenDevice();
  ASSERT_TRUE(Send(iowkit, handle, 0xFF));

  kernel.nodes.clear();
  EXPECT_FALSE(Send(iowkit, handle, 0xFB));
  EXPECT_EQ(kernel.closed, std::vector<std::string>{"/dev/usb/iowarrior0"});
  EXPECT_TRUE(kernel.fds.empty());

  kernel.nodes = {{"/dev/usb/iowarrior2", {kIow24Special, 0, true}},
                  {"/dev/usb/iowarrior3", {kIow24Pins, 0, true}}};
  clock.Advance(1);
  EXPECT_TRUE(Send(iowkit, handle, 0xDF));
  EXPECT_EQ(errors.str(),
            "statusanzeige: lost the IO-Warrior 24 at /dev/usb/iowarrior0: No such device\n"
            "statusanzeige: the IO-Warrior 24 is back at /dev/usb/iowarrior3\n");
  ASSERT_EQ(kernel.written.size(), 2U);
  EXPECT_EQ(kernel.written[1], std::make_pair(std::string("/dev/usb/iowarrior3"),
                                              std::vector<std::uint8_t>{0xDF, 0x41}));
  iowkit.IowKitCloseDevice(handle);
  EXPECT_TRUE(kernel.fds.empty());
}

TEST(LinuxIowkit, OnlyErrorsThatMeanTheControllerIsGoneLetGoOfIt) {
  for (const int error : {ENODEV, ESHUTDOWN, ENXIO, ENOENT}) {
    EXPECT_TRUE(platform::MeansControllerGone(error)) << std::strerror(error);
  }
  // A stalled or timed-out report, an interrupted write: the device is still there.
  for (const int error : {EPIPE, ETIMEDOUT, EPROTO, EIO, EINTR, EINVAL, EBUSY}) {
    EXPECT_FALSE(platform::MeansControllerGone(error)) << std::strerror(error);
  }

  FakeKernel kernel;
  kernel.nodes = {{"/dev/usb/iowarrior0", {kIow24Pins}}};
  fakes::FakeClock clock;
  fakes::Said errors;
  {
    platform::LinuxIowkit iowkit(kernel, clock, errors.reporter);
    const auto handle = iowkit.IowKitOpenDevice();
    kernel.write_error = EPIPE;
    EXPECT_FALSE(Send(iowkit, handle, 0xFF));
    kernel.write_error = 0;
    EXPECT_TRUE(Send(iowkit, handle, 0xFF)) << "the same node, no search";
    EXPECT_EQ(kernel.opened.size(), 1U);
    EXPECT_EQ(errors.str(), "");

    kernel.write_error = ESHUTDOWN;
    EXPECT_FALSE(Send(iowkit, handle, 0xFF));
    EXPECT_EQ(errors.str(), "statusanzeige: lost the IO-Warrior 24 at /dev/usb/iowarrior0: " +
                                std::string(std::strerror(ESHUTDOWN)) + "\n");
    kernel.write_error = 0;
    clock.Advance(1);
    EXPECT_TRUE(Send(iowkit, handle, 0xFF)) << "the same node again";
    EXPECT_EQ(kernel.fds.size(), 1U);
  }
  EXPECT_TRUE(kernel.fds.empty()) << "the device is closed with the layer";
}

TEST(LinuxIowkit, RealKernelCallsTreatMissingNodesAndPlainFilesAsNoDevice) {
  fakes::FakeClock clock;
  fakes::Said errors;
  auto missing = platform::MakeLinuxIowarriorKernel("/nonexistent/usb", "/nonexistent/class");
  EXPECT_TRUE(missing->ListNodes().empty());
  EXPECT_EQ(platform::LinuxIowkit(*missing, clock, errors.reporter).IowKitOpenDevice(), 0U);

  // A node that answers no IOW_GETINFO is not an IO-Warrior.
  const auto folder =
      std::filesystem::temp_directory_path() / ("iowarrior-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  for (const char* name : {"iowarrior3", "iowarrior", "iowarriorx", "hiddev0"}) {
    std::ofstream(folder / name) << "x";
  }
  // sysfs as the driver lays it out: the class entry's device link points at
  // the USB interface, whose parent is the USB device.
  const auto sysfs = folder / "sys";
  const auto interface = sysfs / "usb" / "1-1" / "1-1:1.0";
  std::filesystem::create_directories(interface);
  std::filesystem::create_directories(sysfs / "usbmisc" / "iowarrior3");
  std::ofstream(interface / "bInterfaceNumber") << "00\n";
  std::ofstream(sysfs / "usb" / "1-1" / "idVendor") << "07c0\n";
  std::ofstream(sysfs / "usb" / "1-1" / "idProduct") << "1501\n";
  std::filesystem::create_directory_symlink(interface, sysfs / "usbmisc" / "iowarrior3" / "device");

  auto kernel = platform::MakeLinuxIowarriorKernel(folder.string(), (sysfs / "usbmisc").string());
  const std::string node = (folder / "iowarrior3").string();
  EXPECT_EQ(kernel->ListNodes(), std::vector<std::string>{node});
  const auto described = kernel->Describe(node);
  ASSERT_TRUE(described.has_value());
  EXPECT_EQ(described->vendor, 0x07C0U);
  EXPECT_EQ(described->product, 0x1501U);
  EXPECT_EQ(described->interface_number, 0U);
  EXPECT_FALSE(kernel->Describe((folder / "iowarrior9").string()).has_value());
  EXPECT_EQ(platform::LinuxIowkit(*kernel, clock, errors.reporter).IowKitOpenDevice(), 0U);
  EXPECT_EQ(errors.str(), "");
  std::filesystem::remove_all(folder);

  // The driver's _IOR(0xC0, 3, struct iowarrior_info): read, 40 bytes, type
  // 0xC0, number 3. Any other request fails on every real controller.
#if defined(__x86_64__) || defined(__aarch64__) || defined(__i386__) || defined(__arm__)
  EXPECT_EQ(platform::kIowGetInfo, 0x8028C003UL);
#endif
}

TEST(LinuxIowkit, ANodeNumberTooLargeForItsTypeSortsLast) {
  const std::string huge = "/dev/usb/iowarrior99999999999999999999999";
  std::vector<std::string> paths = {huge, "/dev/usb/iowarrior3"};
  platform::SortNodesByNumber(paths);
  EXPECT_EQ(paths, (std::vector<std::string>{"/dev/usb/iowarrior3", huge}));
}

}  // namespace
