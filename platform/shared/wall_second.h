// SPDX-License-Identifier: GPL-2.0-or-later
// The wall-clock time a pause's timer is armed with.
#pragma once

#include <cstdint>

namespace platform {

// The time `seconds` after `now`, both counted in units of 1/`per_second`
// of a second on the wall clock since its epoch. A pause waits for a whole
// second, but read the clock a moment before the caller did: a time within a
// millisecond of a whole second is that whole second. Waits of zero or less
// give `now`.
std::int64_t WallWakeTime(std::int64_t now, std::int64_t per_second, double seconds);

}  // namespace platform
