// SPDX-License-Identifier: GPL-2.0-or-later
// Asus.dll through the sensor hosts, with fake libraries built for the
// tests: 64-bit, a whole one and one that lacks two functions; 32-bit, with
// plain and with decorated names, one that crashes and one that hangs.
#include "platform/windows/asus_sensors.h"
#include "tests/fakes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>

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

TEST(AsusDllSensors, ReadsTheSevenFunctionsByPlainAndDecoratedNames) {
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::AsusDllSensors sensors(errors.reporter, clock, testing_paths::FakeAsus("full"),
                                   testing_paths::SensorHosts());
  EXPECT_TRUE(sensors.Found());
  // The first CPU temperature is 49, the next 50; the fan's high bits do not count.
  EXPECT_EQ(ReadAll(sensors), "49 35 1352 3344 5040 12160 3125");
  EXPECT_EQ(sensors.Read(Reading::kCpuTemperature), 50);
  EXPECT_EQ(errors.str(), "");
  const std::string core = sensors.Describe(Reading::kCoreVoltage);
  EXPECT_NE(core.find("Asus.dll _GetVoltIN1@0 (64-bit, through the sensor host)"),
            std::string::npos)
      << core;
  EXPECT_NE(sensors.Describe(Reading::kBoardTemperature).find("Asus.dll GetMBTemperature@0"),
            std::string::npos);
  EXPECT_NE(sensors.Describe(Reading::kCpuFan).find("Asus.dll GetFanCPURPM"), std::string::npos);
}

TEST(AsusDllSensors, ALibraryThatLacksFunctionsSaysSoOnceAndShowsZeroForThem) {
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::AsusDllSensors sensors(errors.reporter, clock, testing_paths::FakeAsus("lacking"),
                                   testing_paths::SensorHosts());
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

TEST(AsusDllSensors, ThirtyTwoBitLibrariesGiveTheirReadingsThroughTheThirtyTwoBitHost) {
  for (const char* variant : {"32-plain", "32-decorated"}) {
    SCOPED_TRACE(variant);
    fakes::Said errors;
    fakes::FakeClock clock;
    platform::AsusDllSensors sensors(errors.reporter, clock, testing_paths::FakeAsus(variant),
                                     testing_paths::SensorHosts());
    EXPECT_EQ(ReadAll(sensors), "49 35 1352 3344 5040 12160 3121");
    // As the function returns it, garbage in the upper half and all: the
    // next CPU temperature, 50.
    EXPECT_EQ(static_cast<std::uint32_t>(sensors.Read(Reading::kCpuTemperature)), 0xABCD0032U);
    EXPECT_EQ(sensors.Read(Reading::kCpuFan), 3122) << "every reading is a call of its own";
    const std::string name =
        std::string(variant) == "32-plain" ? "GetMBTemperature" : "GetMBTemperature@0";
    EXPECT_NE(sensors.Describe(Reading::kBoardTemperature)
                  .find("\\Asus.dll " + name + " (32-bit, through the sensor host)"),
              std::string::npos)
        << sensors.Describe(Reading::kBoardTemperature);
    EXPECT_EQ(errors.str(), "");
  }
}

// A crash and a hang in GetVoltIN2 (3.3 V rail).
TEST(AsusDllSensors, AFailedFunctionIsSetAsideForItsRunAndForGoodAfterThreeRunsInARow) {
  const std::pair<const char*, const char*> cases[] = {
      {"32-crash", "crashed (exception 0xC0000005)"}, {"32-hang", "did not return within 400 ms"}};
  for (const auto& [variant, what] : cases) {
    SCOPED_TRACE(variant);
    fakes::Said errors;
    fakes::FakeClock clock;
    platform::AsusDllSensors sensors(errors.reporter, clock, testing_paths::FakeAsus(variant),
                                     testing_paths::SensorHosts());
    for (int run = 1; run <= platform::AsusDllSensors::kRunsInARow; ++run) {
      SCOPED_TRACE(run);
      sensors.RunStarts();
      EXPECT_EQ(sensors.Read(Reading::kCoreVoltage), 1352);
      HANDLE host = OpenProcess(SYNCHRONIZE, FALSE, sensors.HostProcessId());
      ASSERT_NE(host, nullptr);
      EXPECT_EQ(sensors.Read(Reading::kRail3V3), 0);
      EXPECT_TRUE(testing_paths::Ends(host)) << "the host it ended";
      CloseHandle(host);
      EXPECT_EQ(sensors.Read(Reading::kRail5V), 5040) << "a new host at once, same text or not";
      const DWORD replaced = sensors.HostProcessId();
      EXPECT_EQ(sensors.Read(Reading::kRail3V3), 0);
      EXPECT_EQ(sensors.HostProcessId(), replaced) << "set aside for the rest of the run";
    }
    const std::string said = errors.str();
    EXPECT_NE(said.find("\\Asus.dll GetVoltIN2 (3.3 V rail) " + std::string(what) +
                        "; that reading shows 0 for the rest of this run, and the function is "
                        "tried again at the next\n"),
              std::string::npos)
        << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "said once: " << said;

    sensors.RunStarts();
    const DWORD host = sensors.HostProcessId();
    EXPECT_EQ(sensors.Read(Reading::kRail3V3), 0);
    EXPECT_EQ(sensors.HostProcessId(), host) << "not called again";
    sensors.RunStarts();
    EXPECT_EQ(ReadAll(sensors), "49 35 1352 0 5040 12160 3121");
    const std::string all = errors.str();
    EXPECT_EQ(all.find(said), 0U) << all;
    EXPECT_EQ(all.find("\\Asus.dll GetVoltIN2 (3.3 V rail) failed in 3 runs in a row; it is not "
                       "called again until the program starts again, and that reading shows 0\n"),
              all.rfind("\\Asus.dll"))
        << "said once, last: " << all;
  }
}

// A library that is not there at the first reading, and then is.
TEST(AsusDllSensors, AHostThatFailsAtItsStartIsTriedAgainAtTheNextTextAfterAMinute) {
  fakes::Said errors;
  fakes::FakeClock clock;
  const std::wstring folder = testing_paths::TemporaryFolder(L"asus-later");
  const std::wstring library = folder + L"\\Asus.dll";
  {
    platform::AsusDllSensors sensors(errors.reporter, clock, library, testing_paths::SensorHosts());
    EXPECT_EQ(sensors.Read(Reading::kRail5V), 0);
    ASSERT_NE(CopyFileW(testing_paths::FakeAsus("full").c_str(), library.c_str(), FALSE), FALSE);
    clock.Advance(59.0);
    EXPECT_EQ(sensors.Read(Reading::kRail12V), 0) << "not within a minute of the last start";
    clock.Advance(1.0);
    EXPECT_EQ(sensors.Read(Reading::kRail12V), 0) << "not inside a text";
    EXPECT_EQ(platform::ReadingOf(sensors.Read(Reading::kCpuFan)), 3125)
        << "started again at the next text";
  }
  DeleteFileW(library.c_str());
  RemoveDirectoryW(folder.c_str());
  const std::string said = errors.str();
  EXPECT_NE(said.find("it is not beside the program, nor on the DLL search path; every reading "
                      "shows 0\n"),
            std::string::npos)
      << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

// The 32-bit sensor host as built.
std::wstring Host32() {
  return testing_paths::SensorHosts() + L"\\" + platform::sensor_host::kHost32;
}

TEST(SensorHostProcess, StartingAgainEndsTheHostBefore) {
  const std::wstring program = Host32();
  platform::SensorHostProcess host;
  ASSERT_TRUE(host.Start(program, testing_paths::FakeAsus("32-plain")));
  HANDLE first = OpenProcess(SYNCHRONIZE, FALSE, host.ProcessId());
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(host.Start(program, testing_paths::FakeAsus("32-plain")));
  EXPECT_TRUE(testing_paths::Ends(first));
  CloseHandle(first);
  EXPECT_EQ(testing_paths::ChildrenRunning(platform::sensor_host::kHost32).size(), 1U);
}

TEST(SensorHostProcess, ALibraryPathWithoutRoomForItsEndingZeroIsRefused) {
  const std::wstring program = Host32();
  platform::SensorHostProcess host;
  const auto path = [](std::size_t length) {
    std::wstring path = L"C:\\";
    path.append(length - path.size(), L'a');
    return path;
  };
  const auto refused = host.Start(program, path(platform::sensor_host::kPathLength));
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.Error().text, "its path is too long");
  const auto taken = host.Start(program, path(platform::sensor_host::kPathLength - 1));
  ASSERT_TRUE(taken) << taken.Error().text;
  EXPECT_NE(taken->load_error, 0U) << "no such library, but its host was asked";
}

TEST(AsusDllSensors, NoLibraryAtAllIsNotFound) {
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::AsusDllSensors sensors(errors.reporter, clock, L"NoSuchSensorLibrary.dll");
  EXPECT_FALSE(sensors.Found());
}

}  // namespace
