// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/event_pump.h"

namespace platform {

// Processes the Qt application's events; waits with a precise single-shot
// timer, so the thread sleeps instead of polling.
class QtEventPump final : public EventPump {
 public:
  void ProcessEvents(double max_wait_seconds) override;
};

}  // namespace platform
