// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/posix/windowless_loop.h"

#include <algorithm>
#include <cerrno>
#include <cmath>

#include "platform/posix/termination_signals.h"

namespace platform {

void WindowlessLoop::OnTermination(std::function<void()> stop) {
  stop_ = std::move(stop);
  termination_fd_ = WatchTerminationSignals();
}

void WindowlessLoop::ProcessEvents(double max_wait_seconds) {
  // Round up, so the wake-up never comes before the time asked for.
  Wait(max_wait_seconds > 0.0
           ? static_cast<int>(std::ceil(std::min(max_wait_seconds, 86400.0) * 1000.0))
           : 0);
}

void WindowlessLoop::ProcessEventsUntilSecond(double seconds) {
  if (seconds <= 0.0 || !second_.Arm(seconds)) {
    ProcessEvents(seconds);
    return;
  }
  Wait(-1);
  second_.Disarm();
}

void WindowlessLoop::Wait(int timeout_ms) {
  pollfd fds[2] = {{second_.Fd(), POLLIN, 0}, {termination_fd_, POLLIN, 0}};
  // Descriptors below 0 are passed over by poll().
  while (kernel_.Poll(fds, 2, timeout_ms) < 0 && errno == EINTR) {
  }
  if (TakeTerminationSignals() && stop_) stop_();
}

}  // namespace platform
