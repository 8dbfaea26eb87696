// SPDX-License-Identifier: GPL-2.0-or-later
// Runs a text through the eight positions as a ticker, one character step
// per whole second of the clock, and keeps the window responsive meanwhile.
#pragma once

#include <cstdint>
#include <string>

#include "display/display_port.h"
#include "platform/clock.h"
#include "platform/event_pump.h"

namespace display {

inline constexpr int kDisplayWidth = 8;

class Ticker {
 public:
  Ticker(DisplayPort& port, platform::Clock& clock, platform::EventPump& events)
      : port_(port), clock_(clock), events_(events) {}

  // Shows DisplayText in length - 8 steps; step s shows characters s..s+7.
  // Each step is followed by a one-second pause.
  void ScrollText();

  // Waits until the clock reaches PauseStart + PauseSeconds, processing window
  // events meanwhile. PauseStart becomes the clock rounded to a whole second.
  void Pause();

  // Ends the ticker for good: a pause in progress returns at once and no
  // further step is shown. Used when the window closes.
  void Stop() { stopped_ = true; }
  [[nodiscard]] bool Stopped() const { return stopped_; }

  std::int32_t PauseSeconds = 0;
  std::int32_t PauseStart = 0;
  std::string DisplayText;

 private:
  DisplayPort& port_;
  platform::Clock& clock_;
  platform::EventPump& events_;
  bool stopped_ = false;
};

}  // namespace display
