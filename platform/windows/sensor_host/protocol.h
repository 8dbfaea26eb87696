// SPDX-License-Identifier: GPL-2.0-or-later
// What the program and its sensor host say to each other over their pipe.
// The host, one source built as a 32-bit and a 64-bit program, loads the
// board maker's sensor library (Asus.dll) of its own bitness and makes the
// library's calls for the program, so that the program never loads it.
//
//   program -> host: Open      once, first: the library's full path
//   host -> program: Hello     whether it loaded, and how each function is named
//   program -> host: one byte  the index of a reading (platform::Reading)
//   host -> program: Answer    the function's result, or the exception it raised
//
// Both ends are Windows programs of either bitness: every field has the
// same size and place in both (no pointers, no padding).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform::sensor_host {

// The host programs, beside the program.
inline constexpr const wchar_t* kHost32 = L"statusanzeige-sensor-host32.exe";
inline constexpr const wchar_t* kHost64 = L"statusanzeige-sensor-host64.exe";

inline constexpr std::uint32_t kMagic = 0x31484153;  // "SAH1"
inline constexpr std::size_t kPathLength = 260;      // MAX_PATH
inline constexpr std::size_t kFunctions = 7;         // platform::kReadingCount

// How a reading's function was found in the library: by its plain name,
// stdcall-decorated ("GetCPUTemperature@0") or so with an underscore
// ("_GetCPUTemperature@0"); kNone when it is not there.
enum class Naming : std::uint8_t { kNone, kPlain, kDecorated, kUnderscoreDecorated };

struct Open {
  std::uint32_t magic;
  wchar_t path[kPathLength];  // zero-terminated
};

struct Hello {
  std::uint32_t magic;
  std::uint32_t load_error;         // 0 when the library was loaded, else GetLastError()
  std::uint8_t naming[kFunctions];  // a Naming per reading
  std::uint8_t bits;                // 32 or 64
};

enum class Outcome : std::uint32_t { kReturned, kCrashed, kMissing };

struct Answer {
  Outcome outcome;
  std::int32_t value;  // kReturned: the result; kCrashed: the exception code
};

static_assert(sizeof(Open) == 4 + 2 * kPathLength);
static_assert(sizeof(Hello) == 16);
static_assert(sizeof(Answer) == 8);

}  // namespace platform::sensor_host
