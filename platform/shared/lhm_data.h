// SPDX-License-Identifier: GPL-2.0-or-later
// LibreHardwareMonitor's sensor tree, as its web server serves it at
// /data.json, turned into the seven readings. Pure: JSON text in, sensors and
// choices out; fetching the text is the platform's business.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"
#include "platform/shared/sensor_choice.h"

namespace platform {

struct LhmSensor {
  std::string id;        // SensorId, e.g. "/lpc/nct6798d/0/voltage/0"; empty in old versions
  std::string text;      // the sensor's name, e.g. "Vcore"
  std::string hardware;  // the hardware it belongs to, e.g. "Nuvoton NCT6798D"
  FeatureKind kind = FeatureKind::kOther;
  std::string value_text;  // as served, e.g. "1.352 V"
  // In degrees Celsius, millivolts or rpm; nothing when `value_text` is no
  // value in a unit of the sensor's kind.
  std::optional<double> value;
};

using LhmSensorList = std::vector<LhmSensor>;

// The sensors in the tree's order; a failure saying why the text is no
// sensor tree ("malformed JSON at byte 15"). Never throws.
Result<LhmSensorList> ParseLhmData(std::string_view json);

// A value text in its unit, as a temperature (°C, °F), voltage (V, mV) or
// fan speed (RPM); either decimal separator. Nothing for anything else.
std::optional<double> ParseLhmValue(std::string_view text, FeatureKind kind);

// The sensor each reading uses, by the same rules as lm-sensors' features,
// and why; no index for a reading no sensor fits.
using LhmChoice = std::array<FeatureChoice, kReadingCount>;
LhmChoice ChooseLhmSensors(const LhmSensorList& sensors);

// For people: "Nuvoton NCT6798D: Vcore (/lpc/nct6798d/0/voltage/0)".
std::string DescribeLhmSensor(const LhmSensor& sensor);

}  // namespace platform
