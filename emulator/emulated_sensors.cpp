// SPDX-License-Identifier: GPL-2.0-or-later
#include "emulator/emulated_sensors.h"

#include <array>
#include <cmath>
#include <numbers>

namespace emulator {
namespace {

// A slow sine around `middle` of amplitude `swing` and period `period`
// seconds, plus a little noise of at most `jitter`.
struct Drift {
  double middle;
  double swing;
  double period;
  double phase;
  double jitter;
};

// In the order of platform::Reading.
constexpr std::array<Drift, platform::kReadingCount> kDrifts = {{
    {47.5, 7.0, 180.0, 0.0, 0.4},        // CPU temperature, degrees
    {35.0, 4.5, 420.0, 1.0, 0.3},        // board temperature
    {1500.0, 190.0, 240.0, 2.0, 6.0},    // core voltage, millivolts
    {3300.0, 80.0, 300.0, 3.0, 4.0},     // 3.3 V rail
    {5000.0, 120.0, 360.0, 4.0, 6.0},    // 5 V rail
    {12000.0, 290.0, 330.0, 5.0, 15.0},  // 12 V rail
    {3000.0, 950.0, 200.0, 6.0, 20.0},   // CPU fan, rpm
}};

}  // namespace

std::int32_t EmulatedSensors::Read(platform::Reading reading) {
  const Drift& d = kDrifts[static_cast<std::size_t>(reading)];
  // xorshift32: cheap, deterministic noise in [-1, 1].
  noise_ ^= noise_ << 13;
  noise_ ^= noise_ >> 17;
  noise_ ^= noise_ << 5;
  const double noise = static_cast<double>(noise_) / 2147483647.5 - 1.0;
  const double t = clock_.MonotonicSeconds();
  const double value = d.middle +
                       d.swing * std::sin(2.0 * std::numbers::pi * t / d.period + d.phase) +
                       d.jitter * noise;
  return static_cast<std::int32_t>(std::lround(value));
}

std::string EmulatedSensors::Describe(platform::Reading /*reading*/) const { return "emulated"; }

}  // namespace emulator
