// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/wall_second.h"

#include <gtest/gtest.h>

namespace {

TEST(WallWakeTime, HitsTheWholeSecondAPauseWaitsFor) {
  constexpr std::int64_t kNs = 1000000000;
  const std::int64_t now = 1765141234 * kNs + 300000000;  // x.3
  // The pause read the clock 40 us before the timer's reading: 0.70004 s left.
  EXPECT_EQ(platform::WallWakeTime(now + 40000, kNs, 0.7), 1765141235 * kNs) << "a hair early";
  EXPECT_EQ(platform::WallWakeTime(now - 40000, kNs, 0.7), 1765141235 * kNs) << "a hair late";
  // Waits that do not end on a whole second are taken as they are.
  EXPECT_EQ(platform::WallWakeTime(now, kNs, 0.25), now + 250000000);
  EXPECT_EQ(platform::WallWakeTime(now, kNs, 0.0), now);
  EXPECT_EQ(platform::WallWakeTime(now, kNs, -1.0), now);
  // In a Windows file time's 100 ns units.
  constexpr std::int64_t kTicks = 10000000;
  EXPECT_EQ(platform::WallWakeTime((134000000000LL * kTicks) + 4999990, kTicks, 0.5),
            134000000001LL * kTicks);
}

}  // namespace
