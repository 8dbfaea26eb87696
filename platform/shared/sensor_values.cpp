// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/sensor_values.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform {

std::int32_t ReadingFromValue(double value) {
  const double rounded = std::round(value);
  if (std::isnan(rounded)) return 0;
  constexpr double kLow = std::numeric_limits<std::int16_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int32_t>(std::clamp(rounded, kLow, kHigh));
}

}  // namespace platform
