// SPDX-License-Identifier: GPL-2.0-or-later
// The programs' start-up on a fake platform: the order of load, show and
// event loop, the error path, and the demo's two windows closing together.
#include "app/program.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "emulator/demo.h"
#include "fake_platform.h"

namespace {

// The reports of one run with the fake sensors' readings.
constexpr std::size_t kRunReports = 8955;

std::string TempLog() {
  return ::testing::TempDir() + "demo-reports-" +
         std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
}

std::size_t LinesIn(const std::string& path) {
  std::ifstream in(path);
  std::size_t lines = 0;
  for (std::string line; std::getline(in, line);) ++lines;
  return lines;
}

TEST(RunStatusanzeige, WithoutADeviceShowsTheErrorBoxAndEndsWithStatus1) {
  fakes::FakePlatform fake;
  fake.machine.iowkit.open_result = 0;
  EXPECT_EQ(app::RunStatusanzeige(fake.parts), 1);
  ASSERT_NE(fake.windows.form_window, nullptr);
  EXPECT_EQ(fake.windows.runs, 0) << "no event loop";
  EXPECT_FALSE(fake.windows.termination_hooked);
  EXPECT_TRUE(fake.machine.iowkit.closes.empty());
}

TEST(RunStatusanzeige, ShowsTheWindowRunsTheLoopAndClosesTheLinkAfterwards) {
  fakes::FakePlatform fake;
  bool visible_in_loop = false;
  fake.windows.user = [&] {
    visible_in_loop = fake.windows.form_window->visible;
    fake.windows.form_window->Close();
  };
  EXPECT_EQ(app::RunStatusanzeige(fake.parts), 0);
  EXPECT_TRUE(visible_in_loop);
  EXPECT_TRUE(fake.windows.started && fake.windows.icon_set && fake.windows.termination_hooked);
  EXPECT_EQ(fake.windows.form_layout.caption,
            " Statusanzeige mit SLG 2016 von Wendrik Pfarlow Morvik");
  EXPECT_EQ(fake.machine.iowkit.closes.size(), 1U);
  EXPECT_TRUE(fake.machine.iowkit.writes.empty());
}

TEST(RunStatusanzeige, ArgumentsAreAnsweredBeforeAnyWindow) {
  fakes::FakePlatform fake({"--frobnicate"});
  EXPECT_EQ(app::RunStatusanzeige(fake.parts), 2);
  EXPECT_FALSE(fake.windows.started);
  EXPECT_EQ(fake.errors.str().rfind("statusanzeige: unknown argument '--frobnicate'", 0), 0U);
}

TEST(RunDemo, ClosingEitherWindowClosesTheOtherAndEndsTheRun) {
  for (const bool close_display : {false, true}) {
    const std::string log = TempLog();
    fakes::FakePlatform fake({"--report-log", log}, platform::kStatusanzeigeDemo);
    fake.windows.user = [&] {
      fakes::FakePaintedWindow& display = *fake.windows.painted_window;
      fakes::FakeWindow& form = *fake.windows.form_window;
      EXPECT_TRUE(display.visible) << "shown beside the main window";
      std::size_t reports_at_close = 0;
      std::size_t refreshed_at_close = 0;
      fake.events.At(fake.machine.clock.Monotonic() + 3.5, [&] {
        reports_at_close = LinesIn(log);
        refreshed_at_close = display.refreshed.size();
        if (close_display) {
          display.UserClose();
        } else {
          form.Close();
        }
      });
      form.ClickButton();  // returns when the run has ended
      EXPECT_FALSE(form.visible) << close_display;
      EXPECT_FALSE(display.visible) << close_display;
      EXPECT_EQ(reports_at_close, 3U + 4 * 24) << "clear, then the steps at 0, 1, 2 and 3 s";
      EXPECT_GE(refreshed_at_close, reports_at_close) << "the status line, report by report";
      EXPECT_EQ(display.refreshed.size(), refreshed_at_close) << "nothing is sent after the close";
    };
    EXPECT_EQ(emulator::RunDemo(fake.parts), 0);
    EXPECT_EQ(LinesIn(log), 3U + 4 * 24) << "every report sent is logged";
    std::remove(log.c_str());
    EXPECT_TRUE(fake.machine.iowkit.writes.empty()) << "the demo never touches a real controller";
  }
}

TEST(RunDemo, AReportLogThatCannotBeOpenedEndsItBeforeAnyWindow) {
  fakes::FakePlatform fake({"--report-log=/nonexistent/dir/log"}, platform::kStatusanzeigeDemo);
  EXPECT_EQ(emulator::RunDemo(fake.parts), 1);
  EXPECT_FALSE(fake.windows.started);
  EXPECT_EQ(fake.errors.str(),
            "statusanzeige-demo: cannot open report log /nonexistent/dir/log: No such file or "
            "directory\n");
}

TEST(RunStatusanzeige, StartClicksOnceAndRepeatRunsUntilTheClose) {
  for (const bool repeat : {false, true}) {
    fakes::FakePlatform fake({repeat ? "--repeat" : "--start", "--minimized"});
    std::size_t writes_at_close = 0;
    fake.events.At(fake.machine.clock.Monotonic() + 1000.0, [&] {
      writes_at_close = fake.machine.iowkit.writes.size();
      fake.windows.form_window->Close();
    });
    // The loop's own events come after the click's run (or runs).
    bool minimized = false;
    bool enabled = false;
    fake.windows.user = [&] {
      minimized = fake.windows.form_window->minimized;
      enabled = fake.windows.form_window->button_enabled;
    };
    EXPECT_EQ(app::RunStatusanzeige(fake.parts), 0);
    EXPECT_TRUE(minimized);
    const std::size_t writes = fake.machine.iowkit.writes.size();
    if (repeat) {
      EXPECT_GT(writes, 2 * kRunReports) << "run after run";
      EXPECT_EQ(writes, writes_at_close) << "nothing after the close";
      EXPECT_FALSE(enabled);
    } else {
      EXPECT_EQ(writes, kRunReports) << "one run, as one click gives";
      EXPECT_TRUE(enabled);
    }
  }
}

// With --no-window, and in the window-less build (no window system at all),
// where it needs no option.
TEST(RunDemo, WithoutAWindowRunsRunAfterRunUntilATerminationRequest) {
  for (const bool window_build : {true, false}) {
    SCOPED_TRACE(window_build);
    const std::string log = TempLog();
    fakes::FakePlatform fake(window_build
                                 ? std::vector<std::string>{"--no-window", "--report-log", log}
                                 : std::vector<std::string>{"--report-log", log},
                             platform::kStatusanzeigeDemo);
    if (!window_build) fake.parts.windows = nullptr;
    std::size_t logged_at_stop = 0;
    fake.events.At(fake.machine.clock.Monotonic() + 500.0, [&] {
      logged_at_stop = LinesIn(log);
      fake.windowless.Terminate();
    });
    EXPECT_EQ(emulator::RunDemo(fake.parts), 0);
    EXPECT_FALSE(fake.windows.started) << "no window system at all";
    EXPECT_GT(logged_at_stop, kRunReports) << "a whole run, and the next begun";
    EXPECT_EQ(LinesIn(log), logged_at_stop) << "nothing after the request";
    std::remove(log.c_str());
  }
}

TEST(RunStatusanzeige, AnUnusableTextsFileKeepsItFromStartingWithABoxAndALine) {
  const std::string texts = TempLog() + ".toml";
  std::ofstream(texts) << "texts = [\"{cpu}\"]\n";
  const std::string problem = texts + ":1:11: text 1: unknown field {cpu}";
  for (const bool window : {true, false}) {
    fakes::FakePlatform fake(window ? std::vector<std::string>{"--texts", texts}
                                    : std::vector<std::string>{"--no-window", "--texts", texts});
    EXPECT_EQ(app::RunStatusanzeige(fake.parts), 1);
    EXPECT_EQ(fake.errors.str().rfind("statusanzeige: " + problem, 0), 0U) << fake.errors.str();
    EXPECT_EQ(fake.machine.iowkit.opens, 0);
    EXPECT_EQ(fake.windows.runs, 0) << "no event loop";
    if (window) {
      ASSERT_EQ(fake.windows.boxes.size(), 1U);
      EXPECT_EQ(fake.windows.boxes[0].first, "Error");
      EXPECT_EQ(fake.windows.boxes[0].second.rfind(problem, 0), 0U);
    }
  }
  std::remove(texts.c_str());
}

TEST(RunStatusanzeige, CheckTextsNeedsNoControllerAndNoWindow) {
  fakes::FakePlatform fake({"--check-texts"});
  fake.machine.iowkit.open_result = 0;
  EXPECT_EQ(app::RunStatusanzeige(fake.parts), 0);
  EXPECT_EQ(fake.output.str().rfind("no texts file: the built-in texts\n  1  \"Dieser", 0), 0U)
      << fake.output.str();
  EXPECT_FALSE(fake.windows.started);
  EXPECT_EQ(fake.machine.iowkit.opens, 0);
}

TEST(RunStatusanzeige, WithoutAWindowOrADeviceSaysSoAndEndsWithStatus1) {
  for (const bool window_build : {true, false}) {
    fakes::FakePlatform fake(window_build ? std::vector<std::string>{"--no-window"}
                                          : std::vector<std::string>{});
    if (!window_build) fake.parts.windows = nullptr;
    fake.machine.iowkit.open_result = 0;
    EXPECT_EQ(app::RunStatusanzeige(fake.parts), 1);
    EXPECT_EQ(fake.errors.str(), "statusanzeige: Can not open device!\n");
    EXPECT_FALSE(fake.windows.started);
  }
}

}  // namespace
