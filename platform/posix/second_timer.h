// SPDX-License-Identifier: GPL-2.0-or-later
// A timer that fires on a time of the wall clock itself, and at once when
// the wall clock is set: a timerfd on CLOCK_REALTIME, for an event loop to
// watch.
#pragma once

#include "platform/posix/wait_kernel.h"

namespace platform {

class SecondTimer {
 public:
  explicit SecondTimer(WaitKernel& kernel = SystemWaitKernel());
  ~SecondTimer();
  SecondTimer(const SecondTimer&) = delete;
  SecondTimer& operator=(const SecondTimer&) = delete;

  // False when the system has no such timer; nothing else works then.
  [[nodiscard]] bool Valid() const { return fd_ >= 0; }
  // Readable once the timer has fired or the wall clock was set.
  [[nodiscard]] int Fd() const { return fd_; }

  // Arms the timer for `seconds` from now (see WallWakeTime: a whole second
  // is hit exactly). False if the timer could not be armed.
  bool Arm(double seconds);
  // Disarms it and takes what it had to say.
  void Disarm();

 private:
  WaitKernel& kernel_;
  int fd_ = -1;
};

}  // namespace platform
