// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/wall_second.h"

#include <algorithm>
#include <cmath>

namespace platform {

std::int64_t WallWakeTime(std::int64_t now, std::int64_t per_second, double seconds) {
  if (!(seconds > 0.0)) return now;
  // At most a day ahead, so the sum cannot overflow.
  const double wait = std::min(seconds, 86400.0) * static_cast<double>(per_second);
  const std::int64_t wake = now + static_cast<std::int64_t>(std::llround(wait));
  const std::int64_t below = wake % per_second;
  const std::int64_t tolerance = std::max<std::int64_t>(per_second / 1000, 1);
  if (below <= tolerance) return wake - below;
  if (per_second - below <= tolerance) return wake + (per_second - below);
  return wake;
}

}  // namespace platform
