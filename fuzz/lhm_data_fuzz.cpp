// SPDX-License-Identifier: GPL-2.0-or-later
// Whatever answers on LibreHardwareMonitor's port: the text as a sensor tree
// (ParseLhmData, ChooseLhmSensors) and as one value text of each kind
// (ParseLhmValue). Nothing may end the program, and what comes out must hold
// together.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "status/lhm_data.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

status::FeatureKind KindOf(platform::Reading reading) {
  switch (reading) {
    case platform::Reading::kCpuTemperature:
    case platform::Reading::kBoardTemperature:
      return status::FeatureKind::kTemperature;
    case platform::Reading::kCpuFan:
      return status::FeatureKind::kFan;
    default:
      return status::FeatureKind::kVoltage;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  for (const auto kind : {status::FeatureKind::kTemperature, status::FeatureKind::kVoltage,
                          status::FeatureKind::kFan, status::FeatureKind::kOther}) {
    const auto value = status::ParseLhmValue(text, kind);
    if (value) {
      Check(kind != status::FeatureKind::kOther && std::isfinite(*value));
      const std::int32_t reading = status::ReadingFromValue(*value);
      Check(reading >= -32768 && reading <= 32767);
    }
  }

  const status::LhmData tree = status::ParseLhmData(text);
  // One line for the warning it goes into.
  Check(tree.error.find('\n') == std::string::npos);
  if (!tree.error.empty()) Check(tree.sensors.empty());
  for (const status::LhmSensor& sensor : tree.sensors) {
    Check(sensor.value == status::ParseLhmValue(sensor.value_text, sensor.kind));
    static_cast<void>(status::DescribeLhmSensor(sensor));
  }
  const status::LhmChoice choice = status::ChooseLhmSensors(tree.sensors);
  for (std::size_t r = 0; r < choice.size(); ++r) {
    if (!choice[r]) continue;
    Check(*choice[r] < tree.sensors.size());
    Check(tree.sensors[*choice[r]].kind == KindOf(static_cast<platform::Reading>(r)));
  }
  return 0;
}
