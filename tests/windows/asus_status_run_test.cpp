// SPDX-License-Identifier: GPL-2.0-or-later
// Whole status runs on the fake clock with the readings of a fake Asus.dll,
// through the sensor host as the program takes the real one's; and the demo
// with --system-sensors on a 32-bit one.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/program.h"
#include "display/display_port.h"
#include "display/ticker.h"
#include "emulator/demo.h"
#include "emulator/display_model.h"
#include "platform/windows/asus_sensors.h"
#include "platform/windows/windows_sensors.h"
#include "status/status_run.h"
#include "tests/fake_platform.h"
#include "tests/fakes.h"
#include "tests/windows/windows_test_paths.h"

namespace {

// Runs one click's texts and returns every window the display showed.
std::vector<std::string> WholeRun(platform::Sensors& sensors) {
  fakes::RecordingIowkit iowkit;
  emulator::DisplayModel model;
  fakes::FakeClock clock{36000.25};
  fakes::FakeEventPump events{clock};
  display::DisplayPort port{iowkit};
  display::Ticker ticker{port, clock, events};
  status::StatusRunner runner{port, ticker, sensors};
  port.DeviceHandle = iowkit.open_result;
  iowkit.model = &model;
  std::vector<std::string> windows;
  iowkit.on_write = [&] {
    if (model.ReportsSeen() > 3 && (model.ReportsSeen() - 3) % 24 == 0) {
      windows.push_back(model.Shown());
    }
  };
  runner.StatusRun();
  EXPECT_EQ(model.Shown(), "        ");
  return windows;
}

std::vector<std::string> WindowsOf(const std::vector<std::string>& readings_texts) {
  std::vector<std::string> texts = {
      "Dieser Rechner arbeitet fuer Wendrik Pfarlow aus Morvik         ",
      "AMD 2000 XP Prozessor mit 256 MB RAM und 64 MByte Grafik          "};
  texts.insert(texts.end(), readings_texts.begin(), readings_texts.end());
  std::vector<std::string> windows;
  for (const auto& text : texts) {
    for (std::size_t s = 0; s + 8 < text.size(); ++s) windows.push_back(text.substr(s, 8));
  }
  return windows;
}

// The reading texts of the stand-in libraries' readings, with the fan's
// number part.
std::vector<std::string> StandInTexts(const std::string& fan) {
  return {"Die CPU-Temperatur betraegt :40'C         ",  // 49, then 50
          "Die Motherboard-Temperatur betraegt :35'C         ",
          "Die Corespannung betraegt :1,35 Volt         ",
          "Die 3,3 V Spannung betraegt :3,34 Volt         ",
          "Die 5 V Spannung betraegt :5,04 Volt         ",
          "Die 12 V Spannung betraegt :12,1 Volt         ",
          "Die CPU Luefterdrehzahl betraegt :" + fan + " U/min         "};
}

TEST(AsusStatusRun, ShowsTheReadingsTheLibraryReturns) {
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::AsusDllSensors sensors(errors.reporter, clock, testing_paths::FakeAsus("full"),
                                   testing_paths::SensorHosts());
  EXPECT_EQ(WholeRun(sensors), WindowsOf(StandInTexts("3125")));
  EXPECT_EQ(errors.str(), "");
}

TEST(AsusStatusRun, ACrashingFunctionCostsItsOwnReadingAndIsCalledAgainAtTheNextRun) {
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::AsusDllSensors sensors(errors.reporter, clock, testing_paths::FakeAsus("32-crash"),
                                   testing_paths::SensorHosts());
  std::vector<std::string> texts = StandInTexts("3124");
  texts[3] = "Die 3,3 V Spannung betraegt :0, Volt         ";
  EXPECT_EQ(WholeRun(sensors), WindowsOf(texts));
  const DWORD host = sensors.HostProcessId();
  EXPECT_EQ(WholeRun(sensors), WindowsOf(texts));
  EXPECT_NE(sensors.HostProcessId(), host) << "it crashed its host again";
  const std::string said = errors.str();
  EXPECT_NE(said.find("GetVoltIN2 (3.3 V rail) crashed"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

TEST(AsusStatusRun, ALibraryLackingFunctionsShowsZeroForThemAndSaysSoAtTheFirstReading) {
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::AsusDllSensors sensors(errors.reporter, clock, testing_paths::FakeAsus("lacking"),
                                   testing_paths::SensorHosts());
  EXPECT_TRUE(sensors.Found());
  EXPECT_EQ(errors.str(), "") << "nothing said before the first reading";
  EXPECT_EQ(WholeRun(sensors), WindowsOf({"Die CPU-Temperatur betraegt :40'C         ",
                                          "Die Motherboard-Temperatur betraegt :35'C         ",
                                          "Die Corespannung betraegt :1,35 Volt         ",
                                          "Die 3,3 V Spannung betraegt :3,34 Volt         ",
                                          "Die 5 V Spannung betraegt :5,04 Volt         ",
                                          "Die 12 V Spannung betraegt :0, Volt         ",
                                          "Die CPU Luefterdrehzahl betraegt :0 U/min         "}));
  const std::string text = errors.str();
  EXPECT_NE(text.find("lacks GetVoltIN4 (12 V rail), GetFanCPURPM (CPU fan speed)"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
}

TEST(AsusStatusRun, AMissingLibraryIsAMessageAndZerosNotACrash) {
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::AsusDllSensors sensors(errors.reporter, clock, L"NoSuchSensorLibrary.dll");
  EXPECT_EQ(WholeRun(sensors), WindowsOf({"Die CPU-Temperatur betraegt :0'C         ",
                                          "Die Motherboard-Temperatur betraegt :0'C         ",
                                          "Die Corespannung betraegt :0, Volt         ",
                                          "Die 3,3 V Spannung betraegt :0, Volt         ",
                                          "Die 5 V Spannung betraegt :0, Volt         ",
                                          "Die 12 V Spannung betraegt :0, Volt         ",
                                          "Die CPU Luefterdrehzahl betraegt :0 U/min         "}));
  const std::string text = errors.str();
  EXPECT_EQ(text.rfind("statusanzeige: cannot use NoSuchSensorLibrary.dll: ", 0), 0U) << text;
  EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
}

// The machine of the program, with a fake clock and controller.
class SensorsMachine final : public platform::Machine {
 public:
  SensorsMachine(platform::Reporter& reporter, const std::wstring& library)
      : sensors_(platform::MakeWindowsSensors(reporter, clock, library, L"127.0.0.1", 1,
                                              testing_paths::SensorHosts())) {}
  platform::Clock& Clocks() override { return clock; }
  platform::Iowkit& Controller() override { return iowkit; }
  platform::Sensors& MachineSensors() override { return *sensors_; }
  platform::MachineFacts& Facts() override { return facts; }

  fakes::FakeClock clock{36000.25};
  fakes::RecordingIowkit iowkit;
  fakes::FakeFacts facts;

 private:
  std::unique_ptr<platform::Sensors> sensors_;
};

TEST(AsusStatusRun, TheDemoWithSystemSensorsRunsOnAThirtyTwoBitLibraryThroughItsHost) {
  const std::string log = ::testing::TempDir() + "demo-32-bit-" + std::to_string(GetTickCount64());
  std::ostringstream output;
  fakes::Said errors;
  std::vector<DWORD> hosts;
  {
    SensorsMachine machine(errors.reporter, testing_paths::FakeAsus("32-plain"));
    fakes::FakeWindowSystem windows;
    fakes::FakeEventPump events{machine.clock};
    app::Platform parts{{"--system-sensors", "--report-log", log},
                        output,
                        errors.reporter,
                        machine,
                        &windows,
                        events};
    windows.user = [&] {
      windows.form_window->ClickButton();  // returns when the run has ended
      hosts = testing_paths::ChildrenRunning(L"statusanzeige-sensor-host32.exe");
    };
    EXPECT_EQ(emulator::RunDemo(parts), 0);
  }
  ASSERT_EQ(hosts.size(), 1U) << "one host for the whole run";
  HANDLE host = OpenProcess(SYNCHRONIZE, FALSE, hosts[0]);
  EXPECT_TRUE(host == nullptr || testing_paths::Ends(host)) << "no host outlives the program";
  if (host != nullptr) CloseHandle(host);

  // What the display showed, from the report log.
  emulator::DisplayModel model;
  fakes::StepWatch watch(model, 3);
  std::ifstream in(log);
  double seconds = 0;
  unsigned bytes[3] = {};
  while (in >> seconds >> std::hex >> bytes[0] >> bytes[1] >> bytes[2] >> std::dec) {
    const std::uint8_t report[3] = {static_cast<std::uint8_t>(bytes[0]),
                                    static_cast<std::uint8_t>(bytes[1]),
                                    static_cast<std::uint8_t>(bytes[2])};
    model.Feed(report, 3);
    watch.Report();
  }
  in.close();
  std::remove(log.c_str());
  // The fan's 3121, 3122, 3123, 3124: one call per reading.
  EXPECT_EQ(watch.windows, WindowsOf(StandInTexts("3124")));
  EXPECT_EQ(errors.str(), "");
}

}  // namespace
