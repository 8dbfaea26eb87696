// SPDX-License-Identifier: GPL-2.0-or-later
// Which sensor feature supplies each of the seven readings, chosen by the
// chips' drivers, the features' names and labels, and their values now.
// Kept apart from libsensors and LibreHardwareMonitor so it can be checked on
// the label sets of real machines.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/sensors.h"

namespace platform {

enum class FeatureKind { kTemperature, kVoltage, kFan, kOther };

struct FeatureCandidate {
  std::string chip;  // the driver's name, e.g. "nct6798", "k10temp", "BAT0"
  FeatureKind kind = FeatureKind::kOther;
  std::string name;   // e.g. "in0", "temp1", "fan2"
  std::string label;  // as libsensors reports it (sensors.conf label, driver label or name)
  // Its input now, a temperature in °C (other kinds are not judged by their
  // value); nothing when not known.
  std::optional<double> value;
  bool has_input = true;  // false for one of limits or alarms only, or unreadable
};

// A candidate that would have fitted a line of the choice but was refused,
// and why, e.g. "reads -60 °C: not connected" or "belongs to a graphics card".
struct PassedOverFeature {
  std::size_t index;
  std::string why;
};

struct FeatureChoice {
  std::optional<std::size_t> index;  // into the candidates; nothing when none fits
  std::string reason;                // why it fits, e.g. "CPU package sensor"
  // For a reading without a source: the candidates refused, in the order of
  // preference.
  std::vector<PassedOverFeature> passed_over;
};

// The feature that supplies `reading`, from the candidates in the order
// libsensors (or LibreHardwareMonitor) lists them.
FeatureChoice ChooseFeature(Reading reading, const std::vector<FeatureCandidate>& features);

}  // namespace platform
