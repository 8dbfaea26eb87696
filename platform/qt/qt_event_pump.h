// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <memory>

#include "platform/event_pump.h"
#include "platform/posix/second_timer.h"

class QSocketNotifier;

namespace platform {

// Processes the Qt application's events. A wait sleeps in the event loop on
// a precise single-shot timer; a wait for a whole second of the wall clock on
// a SecondTimer watched by the loop, so that it ends on that second itself.
class QtEventPump final : public EventPump {
 public:
  QtEventPump();
  ~QtEventPump() override;
  QtEventPump(const QtEventPump&) = delete;
  QtEventPump& operator=(const QtEventPump&) = delete;

  void ProcessEvents(double max_wait_seconds) override;
  void ProcessEventsUntilSecond(double seconds) override;

 private:
  SecondTimer second_;
  std::unique_ptr<QSocketNotifier> notifier_;  // made with the first wait
};

}  // namespace platform
