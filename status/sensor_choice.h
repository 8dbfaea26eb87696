// Which lm-sensors feature supplies each of the seven readings, chosen by the
// features' labels. Kept apart from libsensors so it can be checked on the
// label sets of real boards.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
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

// How the reading is called in messages: "CPU temperature", "12 V rail", ...
const char* ReadingName(Reading reading);

enum class FeatureKind { kTemperature, kVoltage, kFan, kOther };

struct FeatureCandidate {
  std::string chip;  // chip prefix, e.g. "nct6798" or "k10temp"
  FeatureKind kind = FeatureKind::kOther;
  std::string name;   // e.g. "in0", "temp1", "fan2"
  std::string label;  // as libsensors reports it (sensors.conf label, driver label or name)
};

// Index of the first feature, in the given order (the order libsensors
// detects chips and features), that supplies `reading`; nothing when none does.
std::optional<std::size_t> ChooseFeature(Reading reading,
                                         const std::vector<FeatureCandidate>& features);

}  // namespace platform
