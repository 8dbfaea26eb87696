// SPDX-License-Identifier: GPL-2.0-or-later
// The clocks the display pacing reads.
#pragma once

namespace platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since local midnight, with a fraction: 0 up to just under 86,400.
  virtual double SecondsSinceMidnight() = 0;
  // Seconds on a clock that only ever runs forward at a steady rate and is
  // not affected by midnight or by setting the wall clock.
  virtual double MonotonicSeconds() = 0;
};

class SystemClock final : public Clock {
 public:
  double SecondsSinceMidnight() override;
  double MonotonicSeconds() override;
};

}  // namespace platform
