// SPDX-License-Identifier: GPL-2.0-or-later
// The clocks on Windows: local time to a tenth of a microsecond, and the
// performance counter, which runs steadily and is never set.
#include <windows.h>

#include "platform/clock.h"

namespace platform {

double SystemClock::SecondsSinceMidnight() {
  FILETIME utc_file{};
  GetSystemTimePreciseAsFileTime(&utc_file);
  SYSTEMTIME utc{};
  SYSTEMTIME local{};
  if (!FileTimeToSystemTime(&utc_file, &utc) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    GetLocalTime(&local);
    return local.wHour * 3600.0 + local.wMinute * 60.0 + local.wSecond +
           local.wMilliseconds / 1000.0;
  }
  // SYSTEMTIME stops at milliseconds; the file time has the rest, in 100 ns.
  const ULARGE_INTEGER ticks{{utc_file.dwLowDateTime, utc_file.dwHighDateTime}};
  const double below_millisecond = static_cast<double>(ticks.QuadPart % 10000) / 1e7;
  return local.wHour * 3600.0 + local.wMinute * 60.0 + local.wSecond +
         local.wMilliseconds / 1000.0 + below_millisecond;
}

double SystemClock::MonotonicSeconds() {
  LARGE_INTEGER frequency{};
  LARGE_INTEGER count{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  // Whole seconds and the remainder apart, so that a long uptime loses no
  // precision in the division.
  const long long whole = count.QuadPart / frequency.QuadPart;
  const long long rest = count.QuadPart % frequency.QuadPart;
  return static_cast<double>(whole) +
         static_cast<double>(rest) / static_cast<double>(frequency.QuadPart);
}

}  // namespace platform
