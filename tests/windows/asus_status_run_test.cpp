// SPDX-License-Identifier: GPL-2.0-or-later
// Whole status runs on the fake clock with the readings of a fake Asus.dll,
// bound at run time as the program binds the real one.
#include <gtest/gtest.h>

#include <sstream>

#include "display/display_port.h"
#include "display/ticker.h"
#include "emulator/display_model.h"
#include "platform/windows/asus_sensors.h"
#include "status/status_run.h"
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

TEST(AsusStatusRun, ShowsTheReadingsTheLibraryReturns) {
  fakes::Said errors;
  platform::AsusDllSensors sensors(errors.reporter, testing_paths::FakeAsus("full"));
  EXPECT_EQ(WholeRun(sensors),
            WindowsOf({"Die CPU-Temperatur betraegt :40'C         ",  // 49, then 50
                       "Die Motherboard-Temperatur betraegt :35'C         ",
                       "Die Corespannung betraegt :1,35 Volt         ",
                       "Die 3,3 V Spannung betraegt :3,34 Volt         ",
                       "Die 5 V Spannung betraegt :5,04 Volt         ",
                       "Die 12 V Spannung betraegt :12,1 Volt         ",
                       "Die CPU Luefterdrehzahl betraegt :3125 U/min         "}));
  EXPECT_EQ(errors.str(), "");
}

TEST(AsusStatusRun, ALibraryLackingFunctionsShowsZeroForThemAndSaysSoAtTheFirstReading) {
  fakes::Said errors;
  platform::AsusDllSensors sensors(errors.reporter, testing_paths::FakeAsus("lacking"));
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
  platform::AsusDllSensors sensors(errors.reporter, L"NoSuchSensorLibrary.dll");
  EXPECT_EQ(WholeRun(sensors), WindowsOf({"Die CPU-Temperatur betraegt :0'C         ",
                                          "Die Motherboard-Temperatur betraegt :0'C         ",
                                          "Die Corespannung betraegt :0, Volt         ",
                                          "Die 3,3 V Spannung betraegt :0, Volt         ",
                                          "Die 5 V Spannung betraegt :0, Volt         ",
                                          "Die 12 V Spannung betraegt :0, Volt         ",
                                          "Die CPU Luefterdrehzahl betraegt :0 U/min         "}));
  const std::string text = errors.str();
  EXPECT_EQ(text.rfind("statusanzeige: cannot load NoSuchSensorLibrary.dll: ", 0), 0U) << text;
  EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
}

}  // namespace
