// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/posix/second_timer.h"

#include <cstdint>

#include "platform/shared/wall_second.h"

namespace platform {
namespace {

constexpr std::int64_t kNanoseconds = 1000000000;

}  // namespace

SecondTimer::SecondTimer(WaitKernel& kernel) : kernel_(kernel), fd_(kernel.CreateWallTimer()) {}

SecondTimer::~SecondTimer() {
  if (fd_ >= 0) kernel_.Close(fd_);
}

bool SecondTimer::Arm(double seconds) {
  if (fd_ < 0) return false;
  const timespec now = kernel_.WallNow();
  const std::int64_t wake = WallWakeTime(
      (static_cast<std::int64_t>(now.tv_sec) * kNanoseconds) + now.tv_nsec, kNanoseconds, seconds);
  itimerspec at{};
  at.it_value.tv_sec = static_cast<time_t>(wake / kNanoseconds);
  at.it_value.tv_nsec = static_cast<long>(wake % kNanoseconds);
  // A zero time would disarm the timer: a wake-up due now comes at once.
  if (at.it_value.tv_sec == 0 && at.it_value.tv_nsec == 0) at.it_value.tv_nsec = 1;
  // Readable at once when the wall clock is set, so that the pause looks
  // at the clock again.
  return kernel_.SetTimer(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, at) == 0;
}

void SecondTimer::Disarm() {
  if (fd_ < 0) return;
  kernel_.SetTimer(fd_, 0, itimerspec{});
  // Whether it fired or the clock was set (ECANCELED), the caller looks at
  // the clock again; the count itself tells nothing more.
  kernel_.ReadTimer(fd_);
}

}  // namespace platform
