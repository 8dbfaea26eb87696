// SPDX-License-Identifier: GPL-2.0-or-later
// The choice of sensors by label over any features a sensor library may
// report, and the reading texts made of any values it may give. One feature
// a line: its kind ('t', 'v', 'f' or anything else), then tab-separated its
// chip, name, label and value (a whole number, a temperature's in °C; 0 when
// there is none).
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/shared/sensor_choice.h"
#include "status/reading_text.h"

namespace {

using platform::FeatureKind;

void Check(bool holds) {
  if (!holds) std::abort();
}

std::string_view Field(std::string_view& line) {
  const std::size_t tab = line.find('\t');
  const std::string_view field = line.substr(0, tab);
  line = tab == std::string_view::npos ? std::string_view() : line.substr(tab + 1);
  return field;
}

FeatureKind KindOf(platform::Reading reading) {
  switch (reading) {
    case platform::Reading::kCpuTemperature:
    case platform::Reading::kBoardTemperature:
      return FeatureKind::kTemperature;
    case platform::Reading::kCpuFan:
      return FeatureKind::kFan;
    default:
      return FeatureKind::kVoltage;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<platform::FeatureCandidate> features;
  std::vector<std::int32_t> values;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty()) continue;
    platform::FeatureCandidate feature;
    switch (line.front()) {
      case 't':
        feature.kind = FeatureKind::kTemperature;
        break;
      case 'v':
        feature.kind = FeatureKind::kVoltage;
        break;
      case 'f':
        feature.kind = FeatureKind::kFan;
        break;
      default:
        feature.kind = FeatureKind::kOther;
        break;
    }
    line.remove_prefix(1);
    if (!line.empty() && line.front() == '\t') line.remove_prefix(1);
    feature.chip = Field(line);
    feature.name = Field(line);
    feature.label = Field(line);
    const std::string_view number = Field(line);
    std::int32_t value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    if (feature.kind == FeatureKind::kTemperature && !number.empty()) feature.value = value;
    features.push_back(std::move(feature));
    values.push_back(value);
  }

  for (std::size_t r = 0; r < platform::kReadingCount; ++r) {
    const auto reading = static_cast<platform::Reading>(r);
    const auto choice = platform::ChooseFeature(reading, features);
    for (const auto& passed : choice.passed_over) Check(passed.index < features.size());
    const auto& chosen = choice.index;
    if (!chosen) continue;
    Check(*chosen < features.size());
    Check(features[*chosen].kind == KindOf(reading));
    Check(!choice.reason.empty() && choice.passed_over.empty());
    // The first that fits: what comes after it changes nothing.
    const std::vector<platform::FeatureCandidate> before(
        features.begin(), features.begin() + static_cast<std::ptrdiff_t>(*chosen) + 1);
    Check(platform::ChooseFeature(reading, before).index == chosen);
  }

  // The reading texts, from the values in turn.
  std::size_t next = 0;
  const auto sensor = [&]() -> std::int32_t {
    if (values.empty()) return 0;
    return values[next++ % values.size()];
  };
  for (const auto comma : {status::CommaPlace::kNone, status::CommaPlace::kAfterFirst,
                           status::CommaPlace::kAfterSecond}) {
    const int count = static_cast<int>(values.size() % 12);
    const std::string shown = status::ReadingText(sensor, count, comma);
    Check(shown.size() <= static_cast<std::size_t>(count) + 1);
  }
  return 0;
}
