// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/sensor_values.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "platform/shared/ascii.h"

namespace platform {

std::int32_t ReadingFromValue(double value) {
  const double rounded = std::round(value);
  if (std::isnan(rounded)) return 0;
  constexpr double kLow = std::numeric_limits<std::int16_t>::min();
  constexpr double kHigh = std::numeric_limits<std::int16_t>::max();
  return static_cast<std::int32_t>(std::clamp(rounded, kLow, kHigh));
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

}  // namespace platform
