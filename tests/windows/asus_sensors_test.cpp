// SPDX-License-Identifier: GPL-2.0-or-later
// Asus.dll through LoadLibrary and GetProcAddress, with fake libraries built
// for the tests: a whole one, one that lacks two functions, and a 32-bit one.
#include "platform/windows/asus_sensors.h"
#include "tests/fakes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/windows/windows_test_paths.h"

namespace {

using platform::Reading;

std::string ReadAll(platform::Sensors& sensors) {
  std::string all;
  for (const auto& info : platform::kReadings) {
    if (!all.empty()) all += ' ';
    all += std::to_string(platform::ReadingOf(sensors.Read(info.reading)));
  }
  return all;
}

// The smallest 32-bit (i386) DLL the loader recognises as one: headers and
// one section holding a "ret".
void WriteThirtyTwoBitDll(const std::wstring& path) {
  std::vector<std::uint8_t> image(0x400, 0);
  const auto put16 = [&](std::size_t at, std::uint16_t v) {
    image[at] = v & 0xFF;
    image[at + 1] = v >> 8;
  };
  const auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) image[at + i] = (v >> (8 * i)) & 0xFF;
  };
  image[0] = 'M';
  image[1] = 'Z';
  put32(0x3C, 0x40);  // where the PE header starts
  image[0x40] = 'P';
  image[0x41] = 'E';
  put16(0x44, 0x014C);  // i386
  put16(0x46, 1);       // one section
  put16(0x54, 0xE0);    // size of the optional header
  put16(0x56, 0x2102);  // executable, 32-bit, DLL
  const std::size_t opt = 0x58;
  put16(opt, 0x010B);           // PE32
  put32(opt + 4, 0x200);        // size of code
  put32(opt + 20, 0x1000);      // base of code
  put32(opt + 24, 0x1000);      // base of data
  put32(opt + 28, 0x10000000);  // image base
  put32(opt + 32, 0x1000);      // section alignment
  put32(opt + 36, 0x200);       // file alignment
  put16(opt + 40, 4);           // OS version 4.0
  put16(opt + 48, 4);           // subsystem version 4.0
  put32(opt + 56, 0x2000);      // size of image
  put32(opt + 60, 0x200);       // size of headers
  put16(opt + 68, 2);           // Windows GUI
  put32(opt + 72, 0x100000);    // stack reserve
  put32(opt + 76, 0x1000);      // stack commit
  put32(opt + 80, 0x100000);    // heap reserve
  put32(opt + 84, 0x1000);      // heap commit
  put32(opt + 92, 16);          // data directories
  const std::size_t section = opt + 0xE0;
  const char name[] = ".text";
  for (std::size_t i = 0; i < 5; ++i) image[section + i] = static_cast<std::uint8_t>(name[i]);
  put32(section + 8, 0x1000);       // virtual size
  put32(section + 12, 0x1000);      // virtual address
  put32(section + 16, 0x200);       // size of raw data
  put32(section + 20, 0x200);       // file offset
  put32(section + 36, 0x60000020);  // code, execute, read
  image[0x200] = 0xC3;
  std::ofstream(path.c_str(), std::ios::binary)
      .write(reinterpret_cast<const char*>(image.data()),
             static_cast<std::streamsize>(image.size()));
}

TEST(AsusDllSensors, ReadsTheSevenFunctionsByPlainAndDecoratedNames) {
  fakes::Said errors;
  platform::AsusDllSensors sensors(errors.reporter, testing_paths::FakeAsus("full"));
  EXPECT_TRUE(sensors.Found());
  // The first CPU temperature is 49, the next 50; the fan's high bits do not count.
  EXPECT_EQ(ReadAll(sensors), "49 35 1352 3344 5040 12160 3125");
  EXPECT_EQ(sensors.Read(Reading::kCpuTemperature), 50);
  EXPECT_EQ(errors.str(), "");
  const std::string core = sensors.Describe(Reading::kCoreVoltage);
  EXPECT_NE(core.find("Asus.dll _GetVoltIN1@0"), std::string::npos) << core;
  EXPECT_NE(sensors.Describe(Reading::kBoardTemperature).find("Asus.dll GetMBTemperature@0"),
            std::string::npos);
  EXPECT_NE(sensors.Describe(Reading::kCpuFan).find("Asus.dll GetFanCPURPM"), std::string::npos);
}

TEST(AsusDllSensors, ALibraryThatLacksFunctionsSaysSoOnceAndShowsZeroForThem) {
  fakes::Said errors;
  platform::AsusDllSensors sensors(errors.reporter, testing_paths::FakeAsus("lacking"));
  EXPECT_TRUE(sensors.Found());
  EXPECT_EQ(ReadAll(sensors), "49 35 1352 3344 5040 0 0");
  EXPECT_EQ(ReadAll(sensors), "50 35 1352 3344 5040 0 0");
  EXPECT_EQ(sensors.Describe(Reading::kRail12V), "");
  const std::string text = errors.str();
  EXPECT_EQ(text.rfind("statusanzeige: ", 0), 0U) << text;
  EXPECT_NE(text.find("asus-lacking\\Asus.dll lacks GetVoltIN4 (12 V rail), GetFanCPURPM (CPU "
                      "fan speed); these readings show 0\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
}

TEST(AsusDllSensors, AThirtyTwoBitLibraryIsNamedWithItsReasonAndEveryReadingIsZero) {
  const std::wstring folder = testing_paths::TemporaryFolder(L"asus32");
  const std::wstring path = folder + L"\\Asus.dll";
  WriteThirtyTwoBitDll(path);
  fakes::Said errors;
  platform::AsusDllSensors sensors(errors.reporter, path);
  EXPECT_TRUE(sensors.Found());
  EXPECT_EQ(ReadAll(sensors), "0 0 0 0 0 0 0");
  EXPECT_EQ(sensors.Describe(Reading::kCpuTemperature), "");
  const std::string text = errors.str();
  EXPECT_NE(text.find("statusanzeige: cannot load "), std::string::npos) << text;
  EXPECT_NE(text.find("\\Asus.dll: it is a 32-bit library, and this program is 64-bit "
                      "(error 193); every reading shows 0\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
  DeleteFileW(path.c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST(AsusDllSensors, NoLibraryAtAllIsNotFound) {
  fakes::Said errors;
  platform::AsusDllSensors sensors(errors.reporter, L"NoSuchSensorLibrary.dll");
  EXPECT_FALSE(sensors.Found());
}

}  // namespace
