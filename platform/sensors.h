// SPDX-License-Identifier: GPL-2.0-or-later
// The seven motherboard readings, named here once. Each call takes one fresh
// reading: whole degrees Celsius, millivolts or revolutions per minute. Only
// the low 16 bits of a result count, taken as signed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class Reading {
  kCpuTemperature,
  kBoardTemperature,
  kCoreVoltage,
  kRail3V3,
  kRail5V,
  kRail12V,
  kCpuFan,
};
inline constexpr std::size_t kReadingCount = 7;

struct ReadingInfo {
  Reading reading;
  const char* function;  // the sensor library's function, e.g. "GetCPUTemperature"
  const char* name;      // how messages call it, e.g. "CPU temperature"
};

// In the order of the Reading enum.
inline constexpr std::array<ReadingInfo, kReadingCount> kReadings = {{
    {Reading::kCpuTemperature, "GetCPUTemperature", "CPU temperature"},
    {Reading::kBoardTemperature, "GetMBTemperature", "motherboard temperature"},
    {Reading::kCoreVoltage, "GetVoltIN1", "CPU core voltage"},
    {Reading::kRail3V3, "GetVoltIN2", "3.3 V rail"},
    {Reading::kRail5V, "GetVoltIN3", "5 V rail"},
    {Reading::kRail12V, "GetVoltIN4", "12 V rail"},
    {Reading::kCpuFan, "GetFanCPURPM", "CPU fan speed"},
}};

constexpr const ReadingInfo& InfoOf(Reading reading) {
  return kReadings[static_cast<std::size_t>(reading)];
}

// A sensor function's result reduced to a reading: its low 16 bits, taken as
// signed. The library's functions return a 16-bit number in a 32-bit
// register, whose upper half is whatever the register held.
constexpr std::int16_t ReadingOf(std::int32_t result) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(result & 0xFFFF));
}

class Sensors {
 public:
  virtual ~Sensors() = default;
  // Takes one reading now: the result as the source gives it, of which
  // ReadingOf tells the reading.
  virtual std::int32_t Read(Reading reading) = 0;
  // Where a reading comes from, for people, e.g. "nct6798-isa-0290 in0
  // (Vcore)"; empty when there is no source for it.
  [[nodiscard]] virtual std::string Describe(Reading reading) const = 0;
  // Why that source, for people, e.g. "CPU package sensor"; empty where
  // there was nothing to choose.
  [[nodiscard]] virtual std::string Reason(Reading /*reading*/) const { return {}; }
  // For a reading without a source, the candidates passed over and why, e.g.
  // "nct6798-isa-0290 temp2 (CPUTIN) reads -60 °C: not connected".
  [[nodiscard]] virtual std::vector<std::string> PassedOver(Reading /*reading*/) const {
    return {};
  }
  // A status run begins: a source that set a failing reading aside for the
  // run before tries it again.
  virtual void RunStarts() {}
};

}  // namespace platform
