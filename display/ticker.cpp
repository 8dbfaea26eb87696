// SPDX-License-Identifier: GPL-2.0-or-later
#include "display/ticker.h"

#include <algorithm>
#include <cmath>

namespace display {

void Ticker::ScrollText() {
  const int steps = static_cast<int>(DisplayText.size()) - kDisplayWidth;
  for (int step = 1; step <= steps && !stopped_; ++step) {
    for (int k = 1; k <= kDisplayWidth; ++k) {
      port_.DataByte =
          static_cast<std::uint8_t>(DisplayText[static_cast<std::size_t>(step + k - 2)]);
      port_.Position = static_cast<std::uint8_t>(k - 1);
      port_.PutChar();
    }
    PauseSeconds = 1;
    Pause();
  }
}

void Ticker::Pause() {
  const double started = clock_.SecondsSinceMidnight();
  const double monotonic_started = clock_.MonotonicSeconds();
  // Halves round to the even neighbour (the default rounding mode).
  PauseStart = static_cast<std::int32_t>(std::nearbyint(started));
  const double target = static_cast<double>(PauseStart) + PauseSeconds;
  // The wall clock falls back to 0 at midnight and can be set while we wait.
  // A reading counts on the day nearest to the start, so a pause that crosses
  // midnight still ends on its whole second, and one whose clock was set back
  // across midnight does not end at once. The monotonic clock bounds the pause
  // to the time that was left of it (a little longer, so that the wall clock
  // normally ends it on the whole second).
  constexpr double kDay = 86400.0;
  const auto wall = [&] {
    const double now = clock_.SecondsSinceMidnight();
    if (now < started - kDay / 2) return now + kDay;
    if (now > started + kDay / 2) return now - kDay;
    return now;
  };
  constexpr double kSlack = 0.02;
  const double monotonic_deadline =
      monotonic_started + std::min(target - started + kSlack, PauseSeconds + 0.5);

  double now = wall();
  if (now >= target) return;
  while (!stopped_) {
    const double monotonic_left = monotonic_deadline - clock_.MonotonicSeconds();
    if (monotonic_left <= 0.0) return;
    // Sleep in the event loop until an event arrives or the target comes.
    if (target - now <= monotonic_left) {
      events_.ProcessEventsUntilSecond(target - now);
    } else {
      events_.ProcessEvents(monotonic_left);
    }
    now = wall();
    if (now >= target) return;
  }
}

}  // namespace display
