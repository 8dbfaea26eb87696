// SPDX-License-Identifier: GPL-2.0-or-later
#include "status/reading_text.h"

#include <vector>

#include "platform/sensors.h"

namespace status {

std::string ReadingText(const std::function<std::int32_t()>& sensor, int count, CommaPlace comma) {
  // All readings first: nothing else happens between the calls.
  std::vector<std::int16_t> readings;
  readings.reserve(static_cast<std::size_t>(count));
  for (int k = 0; k < count; ++k) readings.push_back(platform::ReadingOf(sensor()));

  const std::size_t comma_after = comma == CommaPlace::kAfterFirst    ? 1
                                  : comma == CommaPlace::kAfterSecond ? 2
                                                                      : 0;
  std::string text;
  for (std::size_t k = 0; k < readings.size(); ++k) {
    const std::string decimal = std::to_string(readings[k]);
    if (k < decimal.size()) text += decimal[k];
    if (k + 1 == comma_after) text += ',';
  }
  return text;
}

}  // namespace status
