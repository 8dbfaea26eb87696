// SPDX-License-Identifier: GPL-2.0-or-later
#include "status/status_run.h"

#include <gtest/gtest.h>

#include "emulator/display_model.h"
#include "fakes.h"
#include "status/reading_text.h"
#include "status/texts.h"
#include "status/texts_file.h"

namespace {

using status::CommaPlace;
using status::ReadingText;

std::function<std::int32_t()> Script(std::vector<std::int32_t> values) {
  auto next = std::make_shared<std::size_t>(0);
  return [values = std::move(values), next] { return values.at((*next)++); };
}

TEST(ReadingText, OneCharacterFromEachReading) {
  struct Case {
    std::vector<std::int32_t> readings;
    CommaPlace comma;
    std::string expected;
  };
  const Case cases[] = {
      {{45, 45}, CommaPlace::kNone, "45"},
      {{49, 50}, CommaPlace::kNone, "40"},  // the value changed between the calls
      {{7, 7}, CommaPlace::kNone, "7"},
      {{105, 105}, CommaPlace::kNone, "10"},
      {{-5, -5}, CommaPlace::kNone, "-5"},
      {{1650, 1650, 1650}, CommaPlace::kAfterFirst, "1,65"},
      {{3312, 3312, 3312}, CommaPlace::kAfterFirst, "3,31"},
      {{-100, -100, -100}, CommaPlace::kAfterFirst, "-,10"},
      {{0, 0, 0}, CommaPlace::kAfterFirst, "0,"},
      {{12160, 12160, 12160}, CommaPlace::kAfterSecond, "12,1"},
      {{9800, 9800, 9800}, CommaPlace::kAfterSecond, "98,0"},
      {{3125, 3125, 3125, 3125}, CommaPlace::kNone, "3125"},
      {{950, 950, 950, 950}, CommaPlace::kNone, "950"},
      {{0, 7, 7}, CommaPlace::kAfterSecond, "0,"},  // the 2nd reading has no 2nd character
      // Only the low 16 bits count, taken as signed.
      {{0x10000 + 45, 0x10000 + 45}, CommaPlace::kNone, "45"},
      {{0xFFFF, 0xFFFF}, CommaPlace::kNone, "-1"},
      {{40000, 40000, 40000, 40000}, CommaPlace::kNone, "-255"},  // 40000 - 65536 = -25536
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadingText(Script(c.readings), static_cast<int>(c.readings.size()), c.comma),
              c.expected)
        << "first reading " << c.readings.front();
  }
  EXPECT_EQ(platform::ReadingOf(-32768), -32768);
  EXPECT_EQ(platform::ReadingOf(32768), -32768);
}

TEST(StatusRows, TextsHaveTheirExactLengthsAndBlanks) {
  const auto& rows = status::StatusRows();
  ASSERT_EQ(rows.size(), 9U);
  EXPECT_EQ(rows[0].label.size(), 64U);
  EXPECT_EQ(rows[0].label.substr(55), std::string(9, ' '));
  EXPECT_EQ(rows[1].label.size(), 66U);
  EXPECT_EQ(rows[1].label.substr(56), std::string(10, ' '));
  for (std::size_t i = 2; i < rows.size(); ++i) {
    EXPECT_EQ(rows[i].label.substr(rows[i].label.size() - 2), " :") << i;
    EXPECT_EQ(rows[i].suffix.substr(rows[i].suffix.size() - 9), std::string(9, ' ')) << i;
  }
  EXPECT_EQ(rows[2].suffix, "'C         ");
  EXPECT_EQ(rows[4].suffix, " Volt         ");
  EXPECT_EQ(rows[8].suffix, " U/min         ");

  fakes::FakeSensors sensors;
  sensors.steady["GetCPUTemperature"] = 45;
  const status::Text& cpu_temperature = status::BuiltInTexts()[2];
  EXPECT_EQ(status::ComposeText(cpu_temperature, sensors, nullptr).size(), 42U);
  sensors.steady["GetCPUTemperature"] = 7;
  EXPECT_EQ(status::ComposeText(cpu_temperature, sensors, nullptr).size(), 41U);
}

// A whole run through the display model, with full-length readings.
struct WholeRun : ::testing::Test {
  WholeRun() {
    port.DeviceHandle = iowkit.open_result;
    iowkit.model = &model;
    iowkit.on_write = [this] { steps.Report(); };
    sensors.steady = {{"GetCPUTemperature", 45}, {"GetMBTemperature", 38}, {"GetVoltIN1", 1650},
                      {"GetVoltIN2", 3312},      {"GetVoltIN3", 5026},     {"GetVoltIN4", 12160},
                      {"GetFanCPURPM", 3125}};
  }
  fakes::RecordingIowkit iowkit;
  emulator::DisplayModel model;
  fakes::StepWatch steps{model, 3};
  fakes::FakeClock clock{36000.25};
  fakes::FakeEventPump events{clock};
  fakes::FakeSensors sensors;
  display::DisplayPort port{iowkit};
  display::Ticker ticker{port, clock, events};
  status::StatusRunner runner{port, ticker, sensors};
};

TEST_F(WholeRun, ShowsTheNineTextsWindowByWindowAndEndsBlank) {
  const std::vector<std::string> texts = {
      "Dieser Rechner arbeitet fuer Wendrik Pfarlow aus Morvik         ",
      "AMD 2000 XP Prozessor mit 256 MB RAM und 64 MByte Grafik          ",
      "Die CPU-Temperatur betraegt :45'C         ",
      "Die Motherboard-Temperatur betraegt :38'C         ",
      "Die Corespannung betraegt :1,65 Volt         ",
      "Die 3,3 V Spannung betraegt :3,31 Volt         ",
      "Die 5 V Spannung betraegt :5,02 Volt         ",
      "Die 12 V Spannung betraegt :12,1 Volt         ",
      "Die CPU Luefterdrehzahl betraegt :3125 U/min         "};
  const std::vector<std::string> expected = fakes::WindowsOf(texts);
  ASSERT_EQ(expected.size(), 386U);

  steps.on_step = [&] {
    // The first window comes with the click; each later one on a whole second.
    const double expected_at =
        steps.windows.empty() ? 36000.25 : 36000.0 + static_cast<double>(steps.windows.size());
    EXPECT_DOUBLE_EQ(clock.SecondsSinceMidnight(), expected_at);
  };
  // Each text's readings are taken right after the previous text's last pause.
  std::vector<std::size_t> windows_at_call;
  sensors.on_call = [&](const std::string&) { windows_at_call.push_back(steps.windows.size()); };

  runner.StatusRun();

  EXPECT_EQ(iowkit.writes.size(), 9267U);
  EXPECT_EQ(steps.windows, expected);
  EXPECT_EQ(model.Shown(), "        ");
  const std::vector<std::string> order = {
      "GetCPUTemperature", "GetCPUTemperature", "GetMBTemperature", "GetMBTemperature",
      "GetVoltIN1",        "GetVoltIN1",        "GetVoltIN1",       "GetVoltIN2",
      "GetVoltIN2",        "GetVoltIN2",        "GetVoltIN3",       "GetVoltIN3",
      "GetVoltIN3",        "GetVoltIN4",        "GetVoltIN4",       "GetVoltIN4",
      "GetFanCPURPM",      "GetFanCPURPM",      "GetFanCPURPM",     "GetFanCPURPM"};
  EXPECT_EQ(sensors.calls, order);
  const std::vector<std::size_t> steps_before = {114, 114, 148, 148, 190, 190, 190, 227, 227, 227,
                                                 266, 266, 266, 303, 303, 303, 341, 341, 341, 341};
  EXPECT_EQ(windows_at_call, steps_before);
}

TEST_F(WholeRun, ShortReadingsShortenTheirTextsAndEveryRunShowsAllNine) {
  sensors.steady["GetCPUTemperature"] = 7;
  sensors.queued["GetMBTemperature"] = {49, 50};
  runner.StatusRun();
  const auto& windows = steps.windows;
  const std::size_t first = iowkit.writes.size();
  EXPECT_EQ(first, 3U + 24U * (386 - 1)) << "a one-digit temperature takes one step less";
  EXPECT_EQ(windows[114], "Die CPU-");
  EXPECT_EQ(windows[114 + 33 + 33], "gt :40'C") << "49 then 50 gives 40";
  runner.StatusRun();
  EXPECT_EQ(iowkit.writes.size() - first, first) << "the next click shows all nine again";
  EXPECT_EQ(sensors.calls.size(), 40U);
  EXPECT_EQ(sensors.runs_started, 2) << "the sensors learn of each run";
}

TEST_F(WholeRun, TheExampleTextsFileSendsWhatTheBuiltInTableSends) {
  runner.StatusRun();
  const auto table = iowkit.Reports();
  iowkit.writes.clear();
  fakes::FakeFacts facts;
  std::ostringstream said;
  platform::Reporter reporter("statusanzeige", said);
  status::TextsSource example(STATUSANZEIGE_TEST_DATA "/../../packaging/texts.toml", {}, facts,
                              reporter);
  ASSERT_EQ(example.Load(), std::nullopt);
  runner.SetTexts(&example);
  runner.StatusRun();
  EXPECT_EQ(table.size(), 9267U);
  EXPECT_EQ(iowkit.Reports(), table);
}

TEST_F(WholeRun, AStoppedTickerEndsTheRunWithoutFurtherReadings) {
  events.At(clock.Monotonic() + 10.0, [this] {
    ticker.Stop();
    port.DeviceHandle = 0;
  });
  runner.StatusRun();
  EXPECT_EQ(iowkit.writes.size(), 3U + 24U * 11) << "windows at 0, 0.75, 1.75, ... 9.75 s";
  EXPECT_TRUE(sensors.calls.empty());
}

}  // namespace
