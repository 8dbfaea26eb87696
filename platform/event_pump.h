// SPDX-License-Identifier: GPL-2.0-or-later
// Window event processing while the program waits inside a pause.
#pragma once

namespace platform {

class EventPump {
 public:
  virtual ~EventPump() = default;
  // Processes the pending window events. When none is pending, blocks until
  // one arrives or `max_wait_seconds` have passed, whichever comes first.
  virtual void ProcessEvents(double max_wait_seconds) = 0;
  // The same, for a wait that ends on a whole second of the wall clock,
  // `seconds` from now. A pump that can wake on that second itself, rather
  // than after a wait rounded up to its timer's resolution, does so; and it
  // returns as soon as the wall clock is set, so that the caller looks again.
  virtual void ProcessEventsUntilSecond(double seconds) { ProcessEvents(seconds); }
};

}  // namespace platform
