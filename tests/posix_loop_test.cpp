// SPDX-License-Identifier: GPL-2.0-or-later
// The wall-second timer and the window-less loop, on the real system: only
// waits that are already over, and a termination signal, which ends any wait.
#include <poll.h>

#include <gtest/gtest.h>

#include <csignal>

#include "platform/posix/second_timer.h"
#include "platform/posix/windowless_loop.h"

namespace {

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
  platform::WindowlessLoop loop;
  int stops = 0;
  loop.OnTermination([&] { ++stops; });
  ASSERT_EQ(std::raise(SIGTERM), 0) << "caught, not the end of the test";
  loop.Events().ProcessEventsUntilSecond(3600.0);
  EXPECT_EQ(stops, 1);
  ASSERT_EQ(std::raise(SIGINT), 0);
  loop.Events().ProcessEvents(3600.0);
  EXPECT_EQ(stops, 2);
  loop.Events().ProcessEvents(0.0);
  EXPECT_EQ(stops, 2) << "each request once";
}

}  // namespace
