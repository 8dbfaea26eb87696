// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/posix/second_timer.h"

#include <sys/timerfd.h>
#include <unistd.h>

#include <cstdint>
#include <ctime>

#include "platform/shared/wall_second.h"

namespace platform {
namespace {

constexpr std::int64_t kNanoseconds = 1000000000;

}  // namespace

SecondTimer::SecondTimer() : fd_(::timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC)) {}

SecondTimer::~SecondTimer() {
  if (fd_ >= 0) ::close(fd_);
}

bool SecondTimer::Arm(double seconds) {
  if (fd_ < 0) return false;
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const std::int64_t wake = WallWakeTime(
      (static_cast<std::int64_t>(now.tv_sec) * kNanoseconds) + now.tv_nsec, kNanoseconds, seconds);
  itimerspec at{};
  at.it_value.tv_sec = static_cast<time_t>(wake / kNanoseconds);
  at.it_value.tv_nsec = static_cast<long>(wake % kNanoseconds);
  // A zero time would disarm the timer: a wake-up due now comes at once.
  if (at.it_value.tv_sec == 0 && at.it_value.tv_nsec == 0) at.it_value.tv_nsec = 1;
  return ::timerfd_settime(fd_, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &at, nullptr) == 0;
}

void SecondTimer::Disarm() {
  if (fd_ < 0) return;
  const itimerspec off{};
  ::timerfd_settime(fd_, 0, &off, nullptr);
  // Whether it fired or the clock was set (ECANCELED), the caller looks at
  // the clock again; the count itself tells nothing more.
  std::uint64_t expirations = 0;
  [[maybe_unused]] const auto ignored = ::read(fd_, &expirations, sizeof expirations);
}

}  // namespace platform
