// SPDX-License-Identifier: GPL-2.0-or-later
// A measured value as a reading: what lm-sensors and LibreHardwareMonitor
// measure (in degrees Celsius, millivolts or rpm, with a fraction) becomes
// the whole number a sensor library would return.
#pragma once

#include <cstdint>

namespace platform {

// Rounded to the nearest whole number (halves away from zero) and held
// within a 16-bit reading; 0 for a value that is no number.
std::int32_t ReadingFromValue(double value);

}  // namespace platform
