// SPDX-License-Identifier: GPL-2.0-or-later
// The system clock against the C library's own idea of the time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/clock.h"

namespace {

TEST(SystemClock, CountsSecondsSinceLocalMidnight) {
  // In UTC, local midnight falls on whole multiples of a day since the epoch.
  const char* const saved = std::getenv("TZ");
  const std::string saved_tz = saved != nullptr ? saved : "";
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  platform::SystemClock clock;
  const double expected = std::fmod(static_cast<double>(std::time(nullptr)), 86400.0);
  const double wall = clock.SecondsSinceMidnight();
  const double monotonic = clock.MonotonicSeconds();
  if (saved != nullptr) {
    ::setenv("TZ", saved_tz.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
  EXPECT_GE(wall, 0.0);
  EXPECT_LT(wall, 86400.0);
  // Apart by at most the second that may tick between the two reads (or
  // across midnight).
  const double apart = std::fmod(wall - expected + 86400.0, 86400.0);
  EXPECT_TRUE(apart < 2.0 || apart > 86398.0) << wall << " vs " << expected;
  EXPECT_GE(clock.MonotonicSeconds(), monotonic);
}

}  // namespace
