#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <fstream>

#include "app/command_line.h"
#include "app/form1.h"
#include "emulator/display_model.h"
#include "emulator/emulated_iowkit.h"
#include "emulator/emulated_sensors.h"
#include "emulator/font5x7.h"
#include "emulator/qt/emulator_window.h"
#include "fakes.h"

namespace {

// A whole run of the demo's code paths: Form1 on the emulated controller,
// with a fake clock and event pump.
TEST(EmulatedDisplay, AWholeRunShowsTheNineTextsStepByStep) {
  emulator::DisplayModel model;
  emulator::EmulatedIowkit iowkit(model);
  fakes::FakeClock clock(50000.6);
  fakes::FakeEventPump events(clock);
  emulator::EmulatedSensors sensors(clock);
  std::vector<std::string> windows;
  iowkit.SetReportListener([&](const std::uint8_t*) {
    if (model.ReportsSeen() > 3 && (model.ReportsSeen() - 3) % 24 == 0) {
      windows.push_back(model.Shown());
    }
  });
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
  std::vector<std::string> expected;
  for (const std::string& text : texts) {
    for (std::size_t s = 0; s + 8 < text.size(); ++s) expected.push_back(text.substr(s, 8));
  }
  EXPECT_EQ(windows, expected);
  EXPECT_EQ(windows.size(), 386U) << "the emulated readings have full length";
  EXPECT_EQ(model.Shown(), "        ");
  EXPECT_EQ(texts[0], "Dieser Rechner arbeitet fuer Wendrik Pfarlow aus Morvik         ");
  EXPECT_EQ(texts[8].rfind("Die CPU Luefterdrehzahl betraegt :", 0), 0U);

  form.close();
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
  EXPECT_EQ(iowkit.IowKitWrite(handle, 0, report, 3), 3U);
  EXPECT_EQ(model.ReportsSeen(), 1U);
  EXPECT_EQ(model.Port0(), 0x7F);
}

TEST(EmulatedSensors, StayInTheirPlausibleRangesOverAnHour) {
  fakes::FakeClock clock;
  emulator::EmulatedSensors sensors(clock);
  for (int second = 0; second < 3600; second += 7) {
    clock.Advance(7.0);
    const int cpu = sensors.GetCPUTemperature();
    EXPECT_TRUE(cpu >= 40 && cpu <= 55) << cpu;
    const int board = sensors.GetMBTemperature();
    EXPECT_TRUE(board >= 30 && board <= 40) << board;
    const int core = sensors.GetVoltIN1();
    EXPECT_TRUE(core >= 1300 && core <= 1700) << core;
    for (const auto& [value, nominal] :
         {std::pair{sensors.GetVoltIN2(), 3300}, std::pair{sensors.GetVoltIN3(), 5000},
          std::pair{sensors.GetVoltIN4(), 12000}}) {
      EXPECT_LE(std::abs(value - nominal), nominal * 3 / 100) << value;
    }
    const int fan = sensors.GetFanCPURPM();
    EXPECT_TRUE(fan >= 2000 && fan <= 4000) << fan;
  }
}

TEST(ReportLog, EachLineCanBeFollowedLiveThroughAnotherHandle) {
  const std::string path = ::testing::TempDir() + "report-log-" + std::to_string(::getpid());
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

TEST(EmulatorWindow, DrawsLitDotsOnlyForWrittenCharacters) {
  emulator::DisplayModel model;
  emulator::EmulatorWindow window(model);
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("SLG 2016 \u2014 emulated"));
  const auto lit_pixels = [&] {
    const QImage image = window.grab().toImage();
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() > 200 && c.green() < 90) ++lit;
      }
    }
    return lit;
  };
  EXPECT_EQ(lit_pixels(), 0) << "a blank display is dark";
  model.SetPorts(0xFB, '8');
  model.SetPorts(0xFF, '8');
  const int one = lit_pixels();
  EXPECT_GT(one, 0);
  model.SetPorts(0xE5, '8');
  model.SetPorts(0xE7, '8');
  EXPECT_EQ(lit_pixels(), 2 * one) << "the same glyph at position 7";
}

TEST(CommandLine, OnlyTheKnownArgumentsAreTaken) {
  EXPECT_TRUE(ParseCommandLine({"--help"}, false).help);
  EXPECT_TRUE(ParseCommandLine({"--version"}, false).version);
  EXPECT_FALSE(ParseCommandLine({"--system-sensors"}, false).error.empty()) << "demo only";
  EXPECT_EQ(ParseCommandLine({"extra"}, false).error, "unknown argument 'extra'");
  const CommandLine demo = ParseCommandLine({"--system-sensors", "--report-log", "r.log"}, true);
  EXPECT_TRUE(demo.error.empty());
  EXPECT_TRUE(demo.system_sensors);
  EXPECT_EQ(demo.report_log, "r.log");
  EXPECT_EQ(ParseCommandLine({"--report-log=x.log"}, true).report_log, "x.log");
  EXPECT_FALSE(ParseCommandLine({"--report-log"}, true).error.empty());
  EXPECT_EQ(UsageLine("statusanzeige", false), "Usage: statusanzeige [--help] [--version]");
  EXPECT_EQ(UsageLine("statusanzeige", false).find('\n'), std::string::npos);
}

}  // namespace
