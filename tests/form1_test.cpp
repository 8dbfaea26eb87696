// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/form1.h"

#include <gtest/gtest.h>

#include <cmath>

#include "fakes.h"

namespace {

struct FormFixture : ::testing::Test {
  FormFixture() {
    iowkit.model = &model;
    sensors.steady = {{"GetCPUTemperature", 45}, {"GetMBTemperature", 38}, {"GetVoltIN1", 1650},
                      {"GetVoltIN2", 3312},      {"GetVoltIN3", 5026},     {"GetVoltIN4", 12160},
                      {"GetFanCPURPM", 3125}};
    form.SetWindow(&window);
  }
  fakes::RecordingIowkit iowkit;
  emulator::DisplayModel model;
  fakes::FakeClock clock{43200.0};
  fakes::FakeEventPump events{clock};
  fakes::FakeSensors sensors;
  Form1 form{iowkit, clock, events, sensors};
  fakes::FakeWindow window{form};
};

TEST_F(FormFixture, WithoutADeviceShowsOneErrorBoxAndNoWindow) {
  iowkit.open_result = 0;
  EXPECT_FALSE(form.Form_Load());
  ASSERT_EQ(window.boxes.size(), 1U);
  EXPECT_EQ(window.boxes[0].first, "Error");
  EXPECT_EQ(window.boxes[0].second, "Can not open device!");
  EXPECT_FALSE(window.visible);
  EXPECT_EQ(iowkit.opens, 1);
  form.Form_Unload();
  EXPECT_TRUE(iowkit.closes.empty()) << "no unload without a device";
  EXPECT_TRUE(iowkit.writes.empty());
}

TEST_F(FormFixture, OpenThenCloseWithoutAClickSendsNothing) {
  ASSERT_TRUE(form.Form_Load());
  EXPECT_TRUE(window.boxes.empty());
  EXPECT_EQ(form.Port().DeviceHandle, iowkit.open_result);
  window.Close();
  window.Close();
  EXPECT_EQ(iowkit.opens, 1);
  EXPECT_EQ(iowkit.closes, std::vector<platform::IowkitHandle>{iowkit.open_result});
  EXPECT_TRUE(iowkit.writes.empty()) << "the display is not touched at start or close";
}

TEST_F(FormFixture, LayoutCaptionAndInitialState) {
  const platform::FormLayout& layout = Form1Layout();
  EXPECT_EQ(layout.caption, " Statusanzeige mit SLG 2016 von Wendrik Pfarlow Morvik");
  EXPECT_EQ(layout.client_width, 525);
  EXPECT_EQ(layout.client_height, 144);
  EXPECT_EQ(layout.button_caption, "Anzeigestart");
  EXPECT_EQ((std::array{layout.button_left, layout.button_top, layout.button_width,
                        layout.button_height}),
            (std::array{16, 96, 89, 33}));
  EXPECT_EQ(form.Port().DeviceHandle, 0U);
  EXPECT_EQ(form.Port().ControlByte, 0);
  EXPECT_EQ(form.Port().DataByte, 0);
  EXPECT_EQ(form.Port().Position, 0);
  EXPECT_EQ(form.Port().Report, (std::array<std::uint8_t, 5>{}));
  EXPECT_EQ(form.Ticker().PauseSeconds, 0);
  EXPECT_EQ(form.Ticker().PauseStart, 0);
  EXPECT_EQ(form.Ticker().DisplayText, "");
}

TEST_F(FormFixture, AClickRunsTheWholeStatusRunAndClicksInsideItAreIgnored) {
  ASSERT_TRUE(form.Form_Load());
  bool disabled_during_run = false;
  events.At(clock.Monotonic() + 5.2, [&] {
    disabled_during_run = !window.button_enabled;
    window.ClickButton();             // the real button: disabled
    form.AnzeigestartButton_Click();  // and the handler itself
  });
  window.ClickButton();
  EXPECT_TRUE(disabled_during_run);
  EXPECT_EQ(iowkit.writes.size(), 9267U) << "exactly one run";
  EXPECT_EQ(sensors.calls.size(), 20U);
  EXPECT_TRUE(window.button_enabled);
  EXPECT_FALSE(form.Running());
  EXPECT_EQ(model.Shown(), "        ");
}

TEST_F(FormFixture, ClosingInsideAPauseEndsTheRunAndNothingIsSentAfterwards) {
  ASSERT_TRUE(form.Form_Load());
  std::size_t writes_at_close = 0;
  const double click_at = clock.Monotonic();
  events.At(click_at + 130.4, [&] {
    writes_at_close = iowkit.writes.size();
    window.Close();
  });
  window.ClickButton();
  EXPECT_GT(writes_at_close, 0U);
  EXPECT_EQ(iowkit.writes.size(), writes_at_close);
  EXPECT_EQ(iowkit.closes.size(), 1U);
  EXPECT_LT(clock.Monotonic() - click_at, 131.0) << "the run ends with the close";
  EXPECT_EQ(sensors.calls.size(), 2U) << "only the CPU temperature was read";
  EXPECT_FALSE(window.button_enabled) << "a closed window's button stays off";
  form.AnzeigestartButton_Click();
  EXPECT_EQ(iowkit.writes.size(), writes_at_close) << "no run after the close";
}

TEST_F(FormFixture, RepeatingRunsEachNextRunOnTheSecondTheLastEndedUntilTheClose) {
  constexpr std::size_t kRun = 9267;
  ASSERT_TRUE(form.Form_Load());
  form.SetRepeat(true);
  std::vector<double> walls;
  iowkit.on_write = [&] { walls.push_back(clock.SecondsSinceMidnight()); };
  bool enabled_between_runs = false;
  events.after_wait = [&] {
    enabled_between_runs |= window.button_enabled;
    if (iowkit.writes.size() > 2 * kRun + 100 && !window.closed) window.Close();
  };
  window.ClickButton();
  ASSERT_GT(walls.size(), 2 * kRun);
  EXPECT_EQ(walls[kRun], walls[kRun - 1] + 1.0) << "one second after run 1's last step";
  EXPECT_EQ(walls[kRun], std::floor(walls[kRun])) << "on a whole second";
  EXPECT_EQ(walls[2 * kRun], walls[2 * kRun - 1] + 1.0);
  EXPECT_LT(iowkit.writes.size(), 2 * kRun + 100 + 24) << "nothing after the close";
  EXPECT_EQ(sensors.calls.size(), 40U) << "fresh readings for each run; run 3 is in its first text";
  EXPECT_FALSE(enabled_between_runs);
  EXPECT_EQ(iowkit.closes.size(), 1U);
}

}  // namespace
