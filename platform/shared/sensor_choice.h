// SPDX-License-Identifier: GPL-2.0-or-later
// Which lm-sensors feature supplies each of the seven readings, chosen by the
// features' labels. Kept apart from libsensors so it can be checked on the
// label sets of real boards.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/sensors.h"

namespace platform {

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
