#include "emulator/emulated_sensors.h"

#include <cmath>
#include <numbers>

namespace emulator {

std::int32_t EmulatedSensors::Drift(double middle, double swing, double period, double phase,
                                    double jitter) {
  // xorshift32: cheap, deterministic noise in [-1, 1].
  noise_ ^= noise_ << 13;
  noise_ ^= noise_ >> 17;
  noise_ ^= noise_ << 5;
  const double noise = static_cast<double>(noise_) / 2147483647.5 - 1.0;
  const double t = clock_.MonotonicSeconds();
  const double value =
      middle + swing * std::sin(2.0 * std::numbers::pi * t / period + phase) + jitter * noise;
  return static_cast<std::int32_t>(std::lround(value));
}

}  // namespace emulator
