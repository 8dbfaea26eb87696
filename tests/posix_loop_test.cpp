// SPDX-License-Identifier: GPL-2.0-or-later
// The wall-second timer and the window-less loop: how they arm the timer
// and sleep, through a fake of the system calls; and on the real system
// only waits that are already over, and a termination signal, which ends
// any wait.
#include <poll.h>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

#include "platform/posix/second_timer.h"
#include "platform/posix/windowless_loop.h"

namespace {

// Every timer setting and poll timeout asked for; a poll always finds
// something to read, as the armed timer would at its time.
class FakeWaitKernel final : public platform::WaitKernel {
 public:
  int CreateWallTimer() override { return 1000; }
  timespec WallNow() override { return now; }
  int SetTimer(int /*fd*/, int flags, const itimerspec& at) override {
    if (at.it_value.tv_sec != 0 || at.it_value.tv_nsec != 0) armed.push_back({flags, at.it_value});
    return 0;
  }
  void ReadTimer(int /*fd*/) override {}
  int Poll(pollfd* /*fds*/, nfds_t /*count*/, int timeout_ms) override {
    timeouts.push_back(timeout_ms);
    return 1;
  }
  void Close(int /*fd*/) override {}

  struct Armed {
    int flags;
    timespec at;
  };
  timespec now{1765141234, 300000000};  // x.3 s
  std::vector<Armed> armed;
  std::vector<int> timeouts;
};

TEST(SecondTimer, ArmsTheWallClockTimeItselfAndWakesWhenTheClockIsSet) {
  FakeWaitKernel kernel;
  platform::SecondTimer timer(kernel);
  ASSERT_TRUE(timer.Arm(0.7));
  ASSERT_TRUE(timer.Arm(0.25));
  ASSERT_EQ(kernel.armed.size(), 2U);
  for (const auto& armed : kernel.armed) {
    EXPECT_EQ(armed.flags, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET);
  }
  EXPECT_EQ(kernel.armed[0].at.tv_sec, 1765141235);
  EXPECT_EQ(kernel.armed[0].at.tv_nsec, 0) << "the whole second";
  EXPECT_EQ(kernel.armed[1].at.tv_sec, 1765141234);
  EXPECT_EQ(kernel.armed[1].at.tv_nsec, 550000000) << "the fraction of now kept";
}

TEST(WindowlessLoop, SleepsUntilTheSecondAndRoundsOtherWaitsUpToTheMillisecond) {
  FakeWaitKernel kernel;
  platform::WindowlessLoop loop(kernel);
  loop.Events().ProcessEventsUntilSecond(0.7);
  ASSERT_EQ(kernel.armed.size(), 1U);
  loop.Events().ProcessEvents(0.0011);
  loop.Events().ProcessEvents(0.002);
  loop.Events().ProcessEvents(0.0);
  EXPECT_EQ(kernel.timeouts, (std::vector<int>{-1, 2, 2, 0}))
      << "one sleep on the timer, then waits never shorter than asked";
}

bool Readable(int fd) {
  pollfd watched{fd, POLLIN, 0};
  return ::poll(&watched, 1, 0) == 1;
}

TEST(SecondTimer, IsReadableOnceDueAndQuietOnceDisarmed) {
  platform::SecondTimer timer;
  ASSERT_TRUE(timer.Valid());
  EXPECT_FALSE(Readable(timer.Fd()));
  ASSERT_TRUE(timer.Arm(-1.0)) << "a wake-up already due";
  EXPECT_TRUE(Readable(timer.Fd()));
  timer.Disarm();
  EXPECT_FALSE(Readable(timer.Fd()));
  ASSERT_TRUE(timer.Arm(3600.0));
  EXPECT_FALSE(Readable(timer.Fd()));
  timer.Disarm();
}

TEST(WindowlessLoop, ATerminationSignalEndsAWaitAndCallsStopOnce) {
  // Blocked, as a parent may leave them: one sent before the loop is
  // taken once the loop watches.
  sigset_t both;
  sigemptyset(&both);
  sigaddset(&both, SIGINT);
  sigaddset(&both, SIGTERM);
  ASSERT_EQ(::pthread_sigmask(SIG_BLOCK, &both, nullptr), 0);
  ASSERT_EQ(std::raise(SIGTERM), 0) << "pending, not the end of the test";
  platform::WindowlessLoop loop;
  int stops = 0;
  loop.OnTermination([&] { ++stops; });
  loop.Events().ProcessEventsUntilSecond(3600.0);
  EXPECT_EQ(stops, 1);
  ASSERT_EQ(std::raise(SIGINT), 0);
  loop.Events().ProcessEvents(3600.0);
  EXPECT_EQ(stops, 2);
  loop.Events().ProcessEvents(0.0);
  EXPECT_EQ(stops, 2) << "each request once";
}

}  // namespace
