// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/posix/second_timer.h"
#include "platform/windowless.h"

namespace platform {

// poll() on the pause's SecondTimer and the termination signals; no toolkit.
class WindowlessLoop final : public Windowless, private EventPump {
 public:
  explicit WindowlessLoop(WaitKernel& kernel = SystemWaitKernel())
      : kernel_(kernel), second_(kernel) {}
  EventPump& Events() override { return *this; }
  void OnTermination(std::function<void()> stop) override;

 private:
  void ProcessEvents(double max_wait_seconds) override;
  void ProcessEventsUntilSecond(double seconds) override;
  // Sleeps until the timer or a signal, or `timeout_ms` (-1: no limit).
  void Wait(int timeout_ms);

  WaitKernel& kernel_;
  SecondTimer second_;
  int termination_fd_ = -1;
  std::function<void()> stop_;
};

}  // namespace platform
