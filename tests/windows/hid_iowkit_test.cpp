// SPDX-License-Identifier: GPL-2.0-or-later
// Which HID interface the Windows controller layer takes, and how it turns
// the program's reports into HID output reports.
#include "platform/windows/hid_iowkit.h"
#include "tests/fakes.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

using platform::HidDevice;
using Bytes = std::vector<std::uint8_t>;

const std::string kPinInterface =
    R"(\\?\hid#vid_07c0&pid_1501&mi_00#8&1c1b2a5f&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
const std::string kSpecialModeInterface =
    R"(\\?\hid#vid_07c0&pid_1501&mi_01#8&2d0c3b60&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
// What Wine shows on a machine without USB devices of its own.
const std::string kWineMouse =
    R"(\\?\hid#vid_845e&pid_0001#1&2d595ca7&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
const std::string kWineKeyboard =
    R"(\\?\hid#vid_845e&pid_0002#1&2d595ca7&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
// An IO-Warrior 40 pin interface: same vendor, other product.
const std::string kIoWarrior40 =
    R"(\\?\hid#vid_07c0&pid_1500&mi_00#8&aa&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";

struct FakeInterface {
  std::uint16_t vendor = 0x07C0;
  std::uint16_t product = 0x1501;
  std::uint32_t report_length = 3;
  std::string open_error = {};  // set: Open fails with this text
  bool attributes_fail = false;
};

class FakeHid final : public platform::HidSystem {
 public:
  std::vector<std::string> ListInterfaces() override { return order; }
  platform::Result<HidDevice> Open(const std::string& path) override {
    opened.push_back(path);
    const FakeInterface& interface = interfaces.at(path);
    if (!interface.open_error.empty()) return platform::Failure{5, interface.open_error};
    const HidDevice device = next_device++;
    open[device] = path;
    return device;
  }
  bool Attributes(HidDevice device, std::uint16_t* vendor, std::uint16_t* product) override {
    const FakeInterface& interface = interfaces.at(open.at(device));
    if (interface.attributes_fail) return false;
    *vendor = interface.vendor;
    *product = interface.product;
    return true;
  }
  std::uint32_t OutputReportLength(HidDevice device) override {
    return interfaces.at(open.at(device)).report_length;
  }
  platform::Result<std::size_t> Write(HidDevice device, const std::uint8_t* data,
                                      std::size_t size) override {
    const std::string& path = open.at(device);
    // An interface no longer listed has been unplugged: Windows' HID class
    // driver fails every write on it.
    if (interfaces.count(path) == 0) {
      ++failed_writes;
      return platform::Failure{1167, "The device is not connected."};
    }
    written.emplace_back(path, Bytes(data, data + size));
    if (write_error != 0) return platform::Failure{write_error, "the write failed"};
    return size;
  }
  void Close(HidDevice device) override {
    closed.push_back(open.at(device));
    open.erase(device);
  }

  void Add(const std::string& path, FakeInterface interface = {}) {
    order.push_back(path);
    interfaces[path] = std::move(interface);
  }
  void Unplug() {
    order.clear();
    interfaces.clear();
  }

  std::vector<std::string> order;
  std::map<std::string, FakeInterface> interfaces;
  std::map<HidDevice, std::string> open;
  std::vector<std::string> opened;
  std::vector<std::string> closed;
  std::vector<std::pair<std::string, Bytes>> written;
  int write_error = 0;  // the Windows error code of every write while not 0
  int failed_writes = 0;
  HidDevice next_device = 0x100;
};

TEST(HidPath, NamesVendorProductAndInterface) {
  const auto pin = platform::ParseHidPath(kPinInterface);
  EXPECT_EQ(pin.vendor, 0x07C0);
  EXPECT_EQ(pin.product, 0x1501);
  EXPECT_EQ(pin.interface_number, 0);
  EXPECT_EQ(platform::ParseHidPath(kSpecialModeInterface).interface_number, 1);

  const auto mouse = platform::ParseHidPath(kWineMouse);
  EXPECT_EQ(mouse.vendor, 0x845E);
  EXPECT_EQ(mouse.product, 0x0001);
  EXPECT_FALSE(mouse.interface_number.has_value());

  // Upper case, as some drivers spell it.
  const auto upper = platform::ParseHidPath(R"(\\?\HID#VID_07C0&PID_1501&MI_00#7&1&0&0000#{x})");
  EXPECT_EQ(upper.vendor, 0x07C0);
  EXPECT_EQ(upper.product, 0x1501);
  EXPECT_EQ(upper.interface_number, 0);

  // "vid_" inside another part of the path is not the vendor.
  const auto odd = platform::ParseHidPath(R"(\\?\hid#xvid_07c0#zz)");
  EXPECT_FALSE(odd.vendor.has_value());
  EXPECT_FALSE(platform::ParseHidPath(R"(\\?\hid#vid_07g0&pid_15)").vendor.has_value());
  EXPECT_FALSE(platform::ParseHidPath(R"(\\?\hid#vid_07g0&pid_15)").product.has_value());
  EXPECT_FALSE(platform::ParseHidPath("").vendor.has_value());
}

// The layer on a HID system of no interfaces yet; a test adds its own.
struct HidLayer : ::testing::Test {
  FakeHid hid;
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::HidIowkit iowkit{hid, clock, errors.reporter};
};

TEST_F(HidLayer, TakesThePinInterfaceAndPassesOverOtherDevicesUnopened) {
  hid.Add(kWineMouse);
  hid.Add(kWineKeyboard);
  hid.Add(kSpecialModeInterface);
  hid.Add(kIoWarrior40);
  hid.Add(kPinInterface);

  EXPECT_NE(iowkit.IowKitOpenDevice(), 0U);
  EXPECT_EQ(hid.opened, std::vector<std::string>{kPinInterface});
  EXPECT_EQ(errors.str(), "");
}

TEST_F(HidLayer, NoDeviceWithoutAPinInterface) {
  hid.Add(kWineMouse);
  hid.Add(kWineKeyboard);
  hid.Add(kSpecialModeInterface);

  EXPECT_EQ(iowkit.IowKitOpenDevice(), 0U);
  EXPECT_TRUE(hid.opened.empty());
  EXPECT_EQ(errors.str(), "");

  FakeHid none;
  platform::HidIowkit empty(none, clock, errors.reporter);
  EXPECT_EQ(empty.IowKitOpenDevice(), 0U);
}

TEST_F(HidLayer, SaysWhyAPinInterfaceCannotBeOpenedAndTriesTheNext) {
  const std::string second = R"(\\?\hid#vid_07c0&pid_1501&mi_00#9&2&0&0000#{4d1e55b2})";
  hid.Add(kPinInterface, {.open_error = "Access is denied."});
  hid.Add(second);

  EXPECT_NE(iowkit.IowKitOpenDevice(), 0U);
  EXPECT_EQ(errors.str(), "statusanzeige: cannot open " + kPinInterface + ": Access is denied.\n");
  EXPECT_EQ(hid.open.size(), 1U);
  EXPECT_EQ(hid.open.begin()->second, second);
}

TEST_F(HidLayer, AnInterfaceHeldByAnotherProgramMeansNoDevice) {
  hid.Add(kPinInterface, {.open_error = "The process cannot access the file because it is being "
                                        "used by another process."});

  EXPECT_EQ(iowkit.IowKitOpenDevice(), 0U);
  EXPECT_NE(errors.str().find("being used by another process"), std::string::npos);
}

TEST(HidIowkit, ClosesAnInterfaceThatIsNotWhatItsPathSays) {
  struct Case {
    const char* what;
    FakeInterface interface;
  };
  const Case cases[] = {
      {"another product", {.product = 0x1500}},
      {"another vendor", {.vendor = 0x1234}},
      {"attributes unreadable", {.attributes_fail = true}},
      {"no output report", {.report_length = 0}},
      {"too short a report", {.report_length = 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeHid hid;
    hid.Add(kPinInterface, c.interface);
    fakes::Said errors;
    fakes::FakeClock clock;
    platform::HidIowkit iowkit(hid, clock, errors.reporter);
    EXPECT_EQ(iowkit.IowKitOpenDevice(), 0U);
    EXPECT_EQ(hid.closed, std::vector<std::string>{kPinInterface});
    EXPECT_TRUE(hid.open.empty());
  }
}

TEST_F(HidLayer, WritesEachReportWholeAndZeroPaddedToTheInterfacesLength) {
  hid.Add(kPinInterface, {.report_length = 5});
  const platform::IowkitHandle handle = iowkit.IowKitOpenDevice();

  const std::uint8_t report[3] = {0x00, 0xE5, 0x41};
  EXPECT_EQ(iowkit.IowKitWrite(handle, platform::kPinPipe, report, 3), 3U);
  ASSERT_EQ(hid.written.size(), 1U);
  EXPECT_EQ(hid.written[0].second, (Bytes{0x00, 0xE5, 0x41, 0x00, 0x00}));

  // A report longer than the interface's is cut to its length.
  const std::uint8_t longer[7] = {0x00, 1, 2, 3, 4, 5, 6};
  EXPECT_EQ(iowkit.IowKitWrite(handle, platform::kPinPipe, longer, 7), 5U);
  EXPECT_EQ(hid.written[1].second, (Bytes{0x00, 1, 2, 3, 4}));
}

// One IO-Warrior 24 pin interface of 3-byte reports, opened.
struct OnePinInterface : HidLayer {
  OnePinInterface() {
    hid.Add(kPinInterface);
    handle = iowkit.IowKitOpenDevice();
  }
  platform::IowkitHandle handle = 0;
};

TEST_F(OnePinInterface, ThreeByteInterfaceGetsTheReportAsItIs) {
  const std::uint8_t report[3] = {0x00, 0x7F, 0x00};
  EXPECT_EQ(iowkit.IowKitWrite(handle, platform::kPinPipe, report, 3), 3U);
  EXPECT_EQ(hid.written.at(0).second, (Bytes{0x00, 0x7F, 0x00}));
}

TEST_F(OnePinInterface, FailedOrImpossibleWritesReturnZero) {
  const std::uint8_t report[3] = {0x00, 0xFF, 0x00};

  EXPECT_EQ(iowkit.IowKitWrite(handle, 1, report, 3), 0U) << "special-mode pipe";
  EXPECT_EQ(iowkit.IowKitWrite(handle + 1, platform::kPinPipe, report, 3), 0U) << "unknown handle";
  EXPECT_EQ(iowkit.IowKitWrite(handle, platform::kPinPipe, nullptr, 3), 0U);
  EXPECT_EQ(iowkit.IowKitWrite(handle, platform::kPinPipe, report, 0), 0U);
  EXPECT_TRUE(hid.written.empty());

  hid.write_error = 258;  // WAIT_TIMEOUT: a report not taken in time
  EXPECT_EQ(iowkit.IowKitWrite(handle, platform::kPinPipe, report, 3), 0U);
  hid.write_error = 0;
  EXPECT_EQ(iowkit.IowKitWrite(handle, platform::kPinPipe, report, 3), 3U) << "the same interface";
  EXPECT_EQ(hid.opened.size(), 1U);
  EXPECT_EQ(errors.str(), "");
}

bool Send(platform::HidIowkit& iowkit, platform::IowkitHandle handle, std::uint8_t port0) {
  const std::uint8_t report[3] = {0x00, port0, 0x41};
  return iowkit.IowKitWrite(handle, platform::kPinPipe, report, 3) == 3U;
}

TEST_F(OnePinInterface, AnUnpluggedControllerIsSaidOnceAndFoundAgainUnderANewDevicePath) {
  ASSERT_TRUE(Send(iowkit, handle, 0xFF));

  hid.Unplug();
  EXPECT_FALSE(Send(iowkit, handle, 0xFB));
  EXPECT_TRUE(hid.open.empty()) << "the dead handle is closed";
  const std::string replugged =
      R"(\?\hid#vid_07c0&pid_1501&mi_00#8&3e4f5a6b&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030})";
  hid.Add(kWineMouse);
  hid.Add(replugged);
  clock.Advance(1);
  EXPECT_TRUE(Send(iowkit, handle, 0xDF));
  EXPECT_EQ(hid.written.back(), std::make_pair(replugged, Bytes{0x00, 0xDF, 0x41}));
  EXPECT_EQ(errors.str(), "statusanzeige: lost the IO-Warrior 24 at " + kPinInterface +
                              ": The device is not connected.\n"
                              "statusanzeige: the IO-Warrior 24 is back at " +
                              replugged + "\n");
}

// After sleep or hibernation the USB port has been reset: the interface is
// listed under its old path again, but the handle opened before fails.
TEST_F(OnePinInterface, AfterSleepTheOldHandleIsLetGoAndTheInterfaceOpenedAgain) {
  hid.write_error = 31;  // ERROR_GEN_FAILURE
  EXPECT_FALSE(Send(iowkit, handle, 0xFF));
  hid.write_error = 0;
  clock.Advance(1);
  EXPECT_TRUE(Send(iowkit, handle, 0xFF));
  EXPECT_EQ(hid.opened, (std::vector<std::string>{kPinInterface, kPinInterface}));
  EXPECT_EQ(hid.closed, std::vector<std::string>{kPinInterface});
  EXPECT_EQ(errors.str(), "statusanzeige: lost the IO-Warrior 24 at " + kPinInterface +
                              ": the write failed\n"
                              "statusanzeige: the IO-Warrior 24 is back at " +
                              kPinInterface + "\n");
}

TEST(HidIowkit, OnlyErrorsThatMeanTheControllerIsGoneLetGoOfIt) {
  // ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED (a device being removed),
  // ERROR_INVALID_HANDLE, ERROR_BAD_COMMAND, ERROR_GEN_FAILURE,
  // ERROR_DEV_NOT_EXIST, ERROR_NO_SUCH_DEVICE, ERROR_DEVICE_NOT_CONNECTED,
  // ERROR_DEVICE_REMOVED.
  for (const int error : {2, 5, 6, 22, 31, 55, 433, 1167, 1617}) {
    EXPECT_TRUE(platform::MeansControllerGone(error)) << error;
  }
  // Cut short (no code), ERROR_INVALID_PARAMETER, WAIT_TIMEOUT,
  // ERROR_OPERATION_ABORTED, ERROR_IO_PENDING, ERROR_INVALID_USER_BUFFER.
  for (const int error : {0, 87, 258, 995, 997, 1784}) {
    EXPECT_FALSE(platform::MeansControllerGone(error)) << error;
  }
}

TEST(HidIowkit, CloseReleasesTheInterfaceOnce) {
  FakeHid hid;
  hid.Add(kPinInterface);
  fakes::Said errors;
  fakes::FakeClock clock;
  {
    platform::HidIowkit iowkit(hid, clock, errors.reporter);
    const platform::IowkitHandle handle = iowkit.IowKitOpenDevice();
    iowkit.IowKitCloseDevice(handle);
    iowkit.IowKitCloseDevice(handle);
    iowkit.IowKitCloseDevice(0);
    const std::uint8_t report[3] = {0x00, 0xFF, 0x00};
    EXPECT_EQ(iowkit.IowKitWrite(handle, platform::kPinPipe, report, 3), 0U);
  }
  EXPECT_EQ(hid.closed.size(), 1U);

  // What is still open when the layer goes is closed with it.
  {
    platform::HidIowkit iowkit(hid, clock, errors.reporter);
    EXPECT_NE(iowkit.IowKitOpenDevice(), 0U);
  }
  EXPECT_EQ(hid.closed.size(), 2U);
  EXPECT_TRUE(hid.open.empty());
}

}  // namespace
