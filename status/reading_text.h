// SPDX-License-Identifier: GPL-2.0-or-later
// Composes the number part of a reading text from successive readings: the
// k-th character comes from the k-th reading.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace status {

enum class CommaPlace { kNone, kAfterFirst, kAfterSecond };

// Calls `sensor` `count` times in a row and takes each result's reading
// (platform::ReadingOf). Character k of the result is
// character k of the decimal text of reading k, or nothing when that text is
// shorter; the comma goes after the 1st or 2nd character even when that
// character is nothing.
std::string ReadingText(const std::function<std::int32_t()>& sensor, int count, CommaPlace comma);

}  // namespace status
