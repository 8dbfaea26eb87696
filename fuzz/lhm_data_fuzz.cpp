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

#include "platform/shared/lhm_data.h"
#include "platform/shared/sensor_values.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

platform::FeatureKind KindOf(platform::Reading reading) {
  switch (reading) {
    case platform::Reading::kCpuTemperature:
    case platform::Reading::kBoardTemperature:
      return platform::FeatureKind::kTemperature;
    case platform::Reading::kCpuFan:
      return platform::FeatureKind::kFan;
    default:
      return platform::FeatureKind::kVoltage;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  for (const auto kind : {platform::FeatureKind::kTemperature, platform::FeatureKind::kVoltage,
                          platform::FeatureKind::kFan, platform::FeatureKind::kOther}) {
    const auto value = platform::ParseLhmValue(text, kind);
    if (value) {
      Check(kind != platform::FeatureKind::kOther && std::isfinite(*value));
      const std::int32_t reading = platform::ReadingFromValue(*value);
      Check(reading >= -32768 && reading <= 32767);
    }
  }

  const platform::Result<platform::LhmSensorList> tree = platform::ParseLhmData(text);
  // One line for the warning it goes into.
  if (!tree) Check(tree.Error().text.find('\n') == std::string::npos);
  const platform::LhmSensorList sensors = tree ? *tree : platform::LhmSensorList{};
  for (const platform::LhmSensor& sensor : sensors) {
    Check(sensor.value == platform::ParseLhmValue(sensor.value_text, sensor.kind));
    static_cast<void>(platform::DescribeLhmSensor(sensor));
  }
  const platform::LhmChoice choice = platform::ChooseLhmSensors(sensors);
  for (std::size_t r = 0; r < choice.size(); ++r) {
    const auto& index = choice[r].index;
    if (!index) continue;
    Check(*index < sensors.size());
    Check(sensors[*index].kind == KindOf(static_cast<platform::Reading>(r)));
  }
  return 0;
}
