// SPDX-License-Identifier: GPL-2.0-or-later
// Running with no window system at all, where a platform offers it: the
// pauses' event processing, and the end of the program on a termination
// request.
#pragma once

#include <functional>

#include "platform/event_pump.h"

namespace platform {

class Windowless {
 public:
  virtual ~Windowless() = default;
  // Event processing with nothing but the pauses' timers and `stop` below.
  virtual EventPump& Events() = 0;
  // From now on a termination request (SIGINT, SIGTERM) calls `stop` from
  // the event processing, never from a signal handler.
  virtual void OnTermination(std::function<void()> stop) = 0;
};

}  // namespace platform
