// SPDX-License-Identifier: GPL-2.0-or-later
#include "display/ticker.h"

#include <gtest/gtest.h>

#include <cmath>

#include "emulator/display_model.h"
#include "fakes.h"

namespace {

struct TickerFixture : ::testing::Test {
  explicit TickerFixture(double wall = 100.0) : clock(wall) {
    port.DeviceHandle = iowkit.open_result;
    iowkit.model = &model;
  }

  // What the display shows after each step, read when the step's pause begins.
  std::vector<std::string> RunAndWatch(const std::string& text) {
    fakes::StepWatch steps(model);
    steps.on_step = [&] { step_walls.push_back(clock.SecondsSinceMidnight()); };
    iowkit.on_write = [&] { steps.Report(); };
    ticker.DisplayText = text;
    ticker.ScrollText();
    return steps.windows;
  }

  fakes::RecordingIowkit iowkit;
  emulator::DisplayModel model;
  fakes::FakeClock clock;
  fakes::FakeEventPump events{clock};
  display::DisplayPort port{iowkit};
  display::Ticker ticker{port, clock, events};
  std::vector<double> step_walls;
};

TEST_F(TickerFixture, ShortTextsShowNothingAndReturnAtOnce) {
  for (const std::string text : {"", "12345678"}) {
    EXPECT_TRUE(RunAndWatch(text).empty());
  }
  EXPECT_TRUE(iowkit.writes.empty());
  EXPECT_EQ(events.calls, 0);
  EXPECT_EQ(clock.SecondsSinceMidnight(), 100.0);
}

TEST_F(TickerFixture, NineCharactersShowOneStepOfTheFirstEight) {
  EXPECT_EQ(RunAndWatch("ABCDEFGHI"), std::vector<std::string>{"ABCDEFGH"});
  EXPECT_EQ(ticker.PauseSeconds, 1);
  EXPECT_EQ(clock.SecondsSinceMidnight(), 101.0) << "one pause follows the step";
}

TEST_F(TickerFixture, SixtyFourCharactersTakeFiftySixStepsOnSuccessiveSeconds) {
  std::string text;
  for (int i = 0; i < 64; ++i) text += static_cast<char>('0' + i);  // '0'..'o'
  const auto shown = RunAndWatch(text);
  ASSERT_EQ(shown.size(), 56U);
  for (std::size_t s = 0; s < shown.size(); ++s) {
    EXPECT_EQ(shown[s], text.substr(s, 8)) << "step " << s + 1;
    EXPECT_DOUBLE_EQ(step_walls[s], 100.0 + static_cast<double>(s)) << "whole seconds";
  }
  EXPECT_EQ(shown.back().back(), text[62]) << "the 64th character never shows";
  EXPECT_EQ(iowkit.writes.size(), 56U * 24);
  EXPECT_EQ(clock.SecondsSinceMidnight(), 156.0);
}

struct PauseCase {
  double start;
  std::int32_t pause_start;
  double end;
};

class PauseRounding : public TickerFixture, public ::testing::WithParamInterface<PauseCase> {
 public:
  PauseRounding() : TickerFixture(GetParam().start) {}
};

TEST_P(PauseRounding, EndsOnTheWholeSecondAfterTheRoundedStart) {
  ticker.PauseSeconds = 1;
  ticker.Pause();
  EXPECT_EQ(ticker.PauseStart, GetParam().pause_start);
  EXPECT_NEAR(clock.SecondsSinceMidnight(), GetParam().end, 1e-3);
  EXPECT_GE(clock.SecondsSinceMidnight(), GetParam().end);
}

INSTANTIATE_TEST_SUITE_P(Starts, PauseRounding,
                         ::testing::Values(PauseCase{100.3, 100, 101.0},
                                           PauseCase{100.5, 100, 101.0},  // half to even
                                           PauseCase{101.5, 102, 103.0},
                                           PauseCase{100.7, 101, 102.0}));

TEST_F(TickerFixture, AWallClockSlewedSlowStillEndsEachPauseOnItsWholeSecond) {
  // NTP's fastest slew: the wall clock runs 0.05 % slow. Waits last whole
  // milliseconds, as with a real event loop.
  struct SlowWall : fakes::FakeClock {
    SlowWall() : FakeClock(100.3) {}
    double SecondsSinceMidnight() override { return 100.3 + (Monotonic() - 1000.0) * 0.9995; }
  } slow;
  struct MillisecondPump : fakes::FakeEventPump {
    using FakeEventPump::FakeEventPump;
    void ProcessEvents(double max_wait_seconds) override {
      FakeEventPump::ProcessEvents(std::ceil(max_wait_seconds * 1000.0) / 1000.0);
    }
  } pump(slow);
  display::Ticker t(port, slow, pump);
  t.PauseSeconds = 1;
  for (const double second : {101.0, 102.0, 103.0}) {
    t.Pause();
    EXPECT_GE(slow.SecondsSinceMidnight(), second);
    EXPECT_LT(slow.SecondsSinceMidnight(), second + 0.01);
  }
}

TEST_F(TickerFixture, ReturnsWithoutProcessingEventsWhenTheClockIsAlreadyAtOrPastTheTarget) {
  // The clock jumps between the rounding read and the check read: past the
  // target, or exactly onto it.
  for (const double second_read : {101.4, 101.0}) {
    struct JumpingClock : fakes::FakeClock {
      explicit JumpingClock(double then) : FakeClock(100.2), then(then) {}
      double SecondsSinceMidnight() override { return reads++ == 0 ? 100.2 : then; }
      double then;
      int reads = 0;
    } jumping(second_read);
    fakes::FakeEventPump pump(jumping);
    display::Ticker t(port, jumping, pump);
    t.PauseSeconds = 1;
    t.Pause();
    EXPECT_EQ(pump.calls, 0) << second_read;
    EXPECT_EQ(t.PauseStart, 100);
  }
}

TEST_F(TickerFixture, MidnightOrASetClockLeavesAPauseTheTimeThatWasLeftOfIt) {
  struct Case {
    const char* what;
    double start;
    double set_by;  // the wall clock is set by this much 0.1 s into the pause
    double lasts;   // on the monotonic clock
    double ends;    // on the wall clock; -1 where the monotonic clock ends it
  };
  for (const Case c : {Case{"target 86400, reached at midnight", 86399.3, 0.0, 0.7, 0.0},
                       Case{"target 86401, after midnight", 86399.6, 0.0, 1.4, 1.0},
                       Case{"86399.5 rounds to the even 86400", 86399.5, 0.0, 1.5, 1.0},
                       Case{"set back an hour", 50000.2, -3600.0, 0.8, -1},
                       Case{"set back an hour, across midnight", 500.2, -3600.0, 0.8, -1},
                       Case{"set forward past the target", 500.2, 3600.0, 0.1, 4100.3}}) {
    fakes::FakeClock c_clock(c.start);
    fakes::FakeEventPump pump(c_clock);
    pump.At(c_clock.Monotonic() + 0.1, [&] { c_clock.StepWall(c.set_by); });
    display::Ticker t(port, c_clock, pump);
    t.PauseSeconds = 1;
    const double began = c_clock.Monotonic();
    t.Pause();
    const double lasted = c_clock.Monotonic() - began;
    if (c.ends >= 0) {
      EXPECT_NEAR(lasted, c.lasts, 1e-6) << c.what;
      EXPECT_NEAR(c_clock.SecondsSinceMidnight(), c.ends, 1e-6) << c.what;
    } else {
      // The monotonic clock may end it a hair late, never early.
      EXPECT_GE(lasted, c.lasts - 1e-6) << c.what;
      EXPECT_LE(lasted, c.lasts + 0.025) << c.what;
    }
    EXPECT_LT(pump.calls, 5) << c.what << ": waits, does not spin";
  }
}

TEST_F(TickerFixture, WaitsForTheWholeSecondAsSuchAndForTheMonotonicBoundPlainly) {
  fakes::FakeClock c_clock(500.3);
  fakes::FakeEventPump pump(c_clock);
  // The wall clock is set back an hour 0.1 s in: the pump's wait for the
  // second returns, and what is left is the monotonic bound's.
  pump.At(c_clock.Monotonic() + 0.1, [&] { c_clock.StepWall(-3600.0); });
  display::Ticker t(port, c_clock, pump);
  t.PauseSeconds = 1;
  t.Pause();
  ASSERT_EQ(pump.second_waits.size(), 1U);
  EXPECT_NEAR(pump.second_waits[0], 0.7, 1e-9);
  EXPECT_EQ(pump.calls, 2) << "then one plain wait for the rest of the bound";
}

TEST_F(TickerFixture, AStopInsideAPauseEndsTheTickerAtOnce) {
  events.At(clock.Monotonic() + 2.5, [this] { ticker.Stop(); });
  const auto shown = RunAndWatch("ABCDEFGHIJKLMNOP");
  EXPECT_EQ(shown.size(), 3U) << "steps at 100, 101, 102; stopped inside the third pause";
  EXPECT_NEAR(clock.Monotonic(), 1002.5, 1e-9);
}

}  // namespace
