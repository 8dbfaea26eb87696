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
};

}  // namespace platform
