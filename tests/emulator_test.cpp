// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "app/dot_matrix.h"
#include "app/form1.h"
#include "emulator/display_model.h"
#include "emulator/display_view.h"
#include "emulator/emulated_iowkit.h"
#include "emulator/emulated_sensors.h"
#include "emulator/font5x7.h"
#include "fake_platform.h"

namespace {

// A whole run of the demo's code paths: Form1 on the emulated controller,
// with a fake clock and event pump.
TEST(EmulatedDisplay, AWholeRunShowsTheNineTextsStepByStep) {
  emulator::DisplayModel model;
  emulator::EmulatedIowkit iowkit(model);
  fakes::FakeClock clock(50000.6);
  fakes::FakeEventPump events(clock);
  emulator::EmulatedSensors sensors(clock);
  fakes::StepWatch steps(model, 3);
  iowkit.SetReportListener([&](const std::uint8_t*) { steps.Report(); });
  // Record the texts as the run composes them, to compare step by step.
  Form1 form(iowkit, clock, events, sensors);
  std::vector<std::string> texts;
  events.after_wait = [&] {
    if (texts.empty() || texts.back() != form.Ticker().DisplayText) {
      texts.push_back(form.Ticker().DisplayText);
    }
  };
  ASSERT_TRUE(form.Form_Load());
  form.AnzeigestartButton_Click();

  ASSERT_EQ(texts.size(), 9U);
  EXPECT_EQ(steps.windows, fakes::WindowsOf(texts));
  EXPECT_EQ(steps.windows.size(), 386U) << "the emulated readings have full length";
  EXPECT_EQ(model.Shown(), "        ");
  EXPECT_EQ(texts[0], "Dieser Rechner arbeitet fuer Wendrik Pfarlow aus Morvik         ");
  EXPECT_EQ(texts[8].rfind("Die CPU Luefterdrehzahl betraegt :", 0), 0U);

  form.Form_Unload();
  const std::uint8_t report[3] = {0, 0xFB, 'X'};
  EXPECT_EQ(iowkit.IowKitWrite(1, 0, report, 3), 0U) << "closed";
}

TEST(EmulatedDisplay, TheControllerTakesOnlyPinReports) {
  emulator::DisplayModel model;
  emulator::EmulatedIowkit iowkit(model);
  const std::uint8_t report[3] = {0, 0x7F, 0};
  EXPECT_EQ(iowkit.IowKitWrite(1, 0, report, 3), 0U) << "not open yet";
  const auto handle = iowkit.IowKitOpenDevice();
  ASSERT_NE(handle, 0U);
  EXPECT_EQ(iowkit.IowKitWrite(handle, 1, report, 3), 0U);
  EXPECT_EQ(iowkit.IowKitWrite(handle, 0, report, 2), 0U);
  const std::uint8_t other_id[3] = {1, 0x7F, 0};
  EXPECT_EQ(iowkit.IowKitWrite(handle, 0, other_id, 3), 0U);
  EXPECT_EQ(iowkit.IowKitWrite(handle, 0, report, 3), 3U);
  EXPECT_EQ(model.ReportsSeen(), 1U);
  EXPECT_EQ(model.Port0(), 0x7F);
}

TEST(EmulatedSensors, StayInTheirPlausibleRangesOverAnHour) {
  fakes::FakeClock clock;
  emulator::EmulatedSensors sensors(clock);
  for (int second = 0; second < 3600; second += 7) {
    clock.Advance(7.0);
    const int cpu = sensors.Read(platform::Reading::kCpuTemperature);
    EXPECT_TRUE(cpu >= 40 && cpu <= 55) << cpu;
    const int board = sensors.Read(platform::Reading::kBoardTemperature);
    EXPECT_TRUE(board >= 30 && board <= 40) << board;
    const int core = sensors.Read(platform::Reading::kCoreVoltage);
    EXPECT_TRUE(core >= 1300 && core <= 1700) << core;
    for (const auto& [value, nominal] :
         {std::pair{sensors.Read(platform::Reading::kRail3V3), 3300},
          std::pair{sensors.Read(platform::Reading::kRail5V), 5000},
          std::pair{sensors.Read(platform::Reading::kRail12V), 12000}}) {
      EXPECT_LE(std::abs(value - nominal), nominal * 3 / 100) << value;
    }
    const int fan = sensors.Read(platform::Reading::kCpuFan);
    EXPECT_TRUE(fan >= 2000 && fan <= 4000) << fan;
  }
}

TEST(ReportLog, EachLineCanBeFollowedLiveThroughAnotherHandle) {
  const std::string path =
      ::testing::TempDir() + "report-log-" +
      std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  std::FILE* file = std::fopen(path.c_str(), "w");
  ASSERT_NE(file, nullptr);
  std::ifstream follower(path);  // like tail -f: a handle of its own
  double now = 1765141234.000123;
  emulator::ReportLog log(file, [&] { return now; });
  const auto next_line = [&] {
    std::string line;
    std::getline(follower, line);
    follower.clear();
    return line;
  };
  const std::uint8_t a[3] = {0x00, 0xFF, 0x00};
  log.Write(a);
  EXPECT_EQ(next_line(), "1765141234.000123 00 FF 00");
  now += 1.5;
  const std::uint8_t b[3] = {0x00, 0xE5, 0x6E};
  log.Write(b);
  EXPECT_EQ(next_line(), "1765141235.500123 00 E5 6E");
  std::fclose(file);
  std::remove(path.c_str());
}

TEST(Font5x7, PrintableAsciiHasGlyphsAndOtherCodesAreBlank) {
  EXPECT_EQ(emulator::Glyph(' '), (std::array<std::uint8_t, 5>{}));
  EXPECT_EQ(emulator::Glyph(0x1F), (std::array<std::uint8_t, 5>{}));
  EXPECT_EQ(emulator::Glyph(0x7F), (std::array<std::uint8_t, 5>{}));
  EXPECT_EQ(emulator::Glyph(0xC4), (std::array<std::uint8_t, 5>{}));
  for (int code = 0x21; code <= 0x7E; ++code) {
    const auto glyph = emulator::Glyph(static_cast<std::uint8_t>(code));
    bool any = false;
    for (std::uint8_t column : glyph) {
      EXPECT_EQ(column & 0x80, 0) << "seven rows only, code " << code;
      any = any || column != 0;
    }
    EXPECT_TRUE(any) << "code " << code;
  }
}

// Records what is painted: the lit dots (where they land in the window), the
// pictures and the text. A picture is painted where it goes, each time.
struct RecordingCanvas : platform::Canvas {
  void FillRect(int, int, int, int, platform::Color) override {}
  void RoundedRect(int, int, int, int, int, platform::Color, platform::Color) override {
    ++modules;
  }
  void Ellipse(int x, int y, int, int, platform::Color fill) override {
    ++dots;
    if (fill == dot_matrix::kLit) lit_x.push_back(origin_x + x), lit_y.push_back(origin_y + y);
  }
  int Text(int x, int y, int width, int height, const std::string& line, platform::Color) override {
    text = line;
    text_box = {x, y, width, height};
    return text_width;
  }
  void Picture(std::uint64_t key, int x, int y, int width, int height,
               const std::function<void(platform::Canvas&)>& paint) override {
    pictures.push_back({key, {x, y, width, height}});
    origin_x = x, origin_y = y;
    paint(*this);
    origin_x = origin_y = 0;
  }
  int modules = 0;
  int dots = 0;
  std::vector<int> lit_x, lit_y;
  std::string text;
  int text_width = 0;  // what Text() answers
  std::array<int, 4> text_box{};
  std::vector<std::pair<std::uint64_t, std::array<int, 4>>> pictures;
  int origin_x = 0;
  int origin_y = 0;
};

TEST(DisplayView, PaintsEightCharactersOfLitDotsOnlyWhereWrittenAndTheStatusLine) {
  emulator::DisplayModel model;
  const emulator::DisplayView view(model);
  RecordingCanvas blank;
  view.Paint(blank);
  EXPECT_EQ(blank.modules, 2);
  EXPECT_EQ(blank.dots, 8 * 35);
  EXPECT_TRUE(blank.lit_x.empty()) << "a blank display is dark";
  EXPECT_EQ(blank.text, "port 0: FF   port 1: FF   reports: 0");

  model.SetPorts(0xFB, '8');  // position 0
  model.SetPorts(0xFF, '8');
  model.SetPorts(0xE5, '8');  // position 7
  model.SetPorts(0xE7, '8');
  RecordingCanvas two;
  view.Paint(two);
  int glyph_dots = 0;
  for (const std::uint8_t column : emulator::Glyph('8')) glyph_dots += __builtin_popcount(column);
  ASSERT_EQ(two.lit_x.size(), 2U * static_cast<std::size_t>(glyph_dots));
  const auto [left, right] = std::minmax_element(two.lit_x.begin(), two.lit_x.end());
  EXPECT_LT(*left, emulator::DisplayView::Width() / 4) << "leftmost character";
  EXPECT_GT(*right, emulator::DisplayView::Width() * 3 / 4) << "rightmost character";
  EXPECT_EQ(two.text, "port 0: E7   port 1: 38   reports: 4");

  // Two modules, then the characters, each a picture named by its dots: the
  // two eights share one.
  ASSERT_EQ(two.pictures.size(), 2U + 8U);
  EXPECT_EQ(two.pictures[0].first, two.pictures[1].first) << "the modules look alike";
  const auto character = [](const RecordingCanvas& canvas, std::size_t position) {
    return canvas.pictures.at(2 + position).first;
  };
  EXPECT_EQ(character(two, 0), character(two, 7));
  EXPECT_NE(character(two, 0), character(two, 1)) << "an eight is no blank";
  EXPECT_EQ(character(two, 1), character(blank, 0));
  EXPECT_NE(character(two, 1), two.pictures[0].first) << "a blank is no module";
}

// What a window is asked to repaint: the characters whose dots change, each
// in its own box, and the status line, report by report.
TEST(DisplayView, AsksToRepaintOnlyTheCharactersThatChangedAndTheStatusLine) {
  emulator::DisplayModel model;
  emulator::DisplayView view(model);
  fakes::FakePaintedWindow window({});
  RecordingCanvas painted;
  view.Paint(painted);
  const auto box_of = [&](std::size_t position) {
    return painted.pictures.at(2 + position).second;
  };
  const std::array<int, 4> status = painted.text_box;
  const auto report = [&](std::uint8_t port0, std::uint8_t port1) {
    window.refreshed.clear();
    model.SetPorts(port0, port1);
    view.RefreshChanged(window);
    return window.refreshed;
  };
  using Boxes = std::vector<std::array<int, 4>>;

  EXPECT_EQ(report(0xE5, 'A'), Boxes{status}) << "the strobe goes low: nothing latched yet";
  EXPECT_EQ(report(0xE7, 'A'), (Boxes{box_of(7), status})) << "position 7 shows A";
  report(0xE5, 'A');
  EXPECT_EQ(report(0xE7, 'A'), Boxes{status}) << "A again: the same dots";
  report(0xFB, 'B');  // position 0
  report(0xFF, 'B');
  report(0xDB, 'A');  // position 1 (address 2)
  EXPECT_EQ(report(0xDF, 'A'), (Boxes{box_of(1), status}));
  window.refreshed.clear();
  view.RefreshChanged(window);
  EXPECT_TRUE(window.refreshed.empty()) << "nothing changed since";
  EXPECT_EQ(report(0x7F, 0), (Boxes{box_of(0), box_of(1), box_of(7), status}))
      << "the clear darkens the three lit characters";

  // Once painted, the status line's box reaches as far as the line did, and
  // two of its characters further.
  RecordingCanvas measured;
  measured.text_width = 200;
  view.Paint(measured);
  const auto length = static_cast<int>(view.StatusLine().size());
  const auto boxes = report(0xFF, 1);
  ASSERT_FALSE(boxes.empty());
  EXPECT_EQ(boxes.back(), (std::array{status[0], status[1], 200 + (2 * 200 / length), status[3]}));
}

}  // namespace
