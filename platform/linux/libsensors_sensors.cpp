// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/libsensors_sensors.h"

#include <sensors/error.h>
#include <sensors/sensors.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/shared/sensor_choice.h"
#include "platform/shared/sensor_values.h"

namespace platform {
namespace {

struct Detected {
  const sensors_chip_name* chip;
  const sensors_subfeature* input;  // null for a feature without one
};

FeatureKind KindOf(sensors_feature_type type) {
  switch (type) {
    case SENSORS_FEATURE_TEMP:
      return FeatureKind::kTemperature;
    case SENSORS_FEATURE_IN:
      return FeatureKind::kVoltage;
    case SENSORS_FEATURE_FAN:
      return FeatureKind::kFan;
    default:
      return FeatureKind::kOther;
  }
}

sensors_subfeature_type InputOf(FeatureKind kind) {
  switch (kind) {
    case FeatureKind::kTemperature:
      return SENSORS_SUBFEATURE_TEMP_INPUT;
    case FeatureKind::kVoltage:
      return SENSORS_SUBFEATURE_IN_INPUT;
    default:
      return SENSORS_SUBFEATURE_FAN_INPUT;
  }
}

std::string ChipName(const sensors_chip_name* chip) {
  char name[256];
  if (sensors_snprintf_chip_name(name, sizeof name, chip) < 0) return chip->prefix;
  return name;
}

}  // namespace

LibSensors::LibSensors(Reporter& reporter, const std::string& config_path) : reporter_(reporter) {
  FILE* config = nullptr;
  if (!config_path.empty()) {
    config = std::fopen(config_path.c_str(), "r");
    if (config == nullptr) {
      reporter_.Say("cannot read sensor configuration " + config_path);
      return;
    }
  }
  const int status = sensors_init(config);
  if (config != nullptr) std::fclose(config);
  if (status != 0) {
    reporter_.Say(std::string("lm-sensors cannot start: ") + sensors_strerror(status));
    return;
  }
  initialized_ = true;

  std::vector<Detected> detected;
  std::vector<FeatureCandidate> candidates;
  std::vector<std::string> descriptions;
  int chip_number = 0;
  while (const sensors_chip_name* chip = sensors_get_detected_chips(nullptr, &chip_number)) {
    int feature_number = 0;
    while (const sensors_feature* feature = sensors_get_features(chip, &feature_number)) {
      char* label = sensors_get_label(chip, feature);
      FeatureCandidate candidate;
      candidate.chip = chip->prefix;
      candidate.kind = KindOf(feature->type);
      candidate.name = feature->name;
      candidate.label = label != nullptr ? label : feature->name;
      std::free(label);
      const sensors_subfeature* input =
          sensors_get_subfeature(chip, feature, InputOf(candidate.kind));
      double value = 0.0;
      candidate.has_input = input != nullptr && sensors_get_value(chip, input->number, &value) == 0;
      if (candidate.has_input) candidate.value = value;
      detected.push_back({chip, input});
      descriptions.push_back(ChipName(chip) + " " + candidate.name + " (" + candidate.label + ")");
      candidates.push_back(std::move(candidate));
    }
  }

  for (std::size_t r = 0; r < kReadingCount; ++r) {
    const FeatureChoice choice = ChooseFeature(static_cast<Reading>(r), candidates);
    for (const PassedOverFeature& passed : choice.passed_over) {
      passed_over_[r].push_back(descriptions[passed.index] + " " + passed.why);
    }
    if (!choice.index) continue;
    const Detected& d = detected[*choice.index];
    const bool volts = candidates[*choice.index].kind == FeatureKind::kVoltage;
    sources_[r] =
        Source{d.chip, d.input->number, volts ? 1000.0 : 1.0, descriptions[*choice.index]};
    reasons_[r] = choice.reason;
  }
}

LibSensors::~LibSensors() {
  if (initialized_) sensors_cleanup();
}

std::string LibSensors::Describe(Reading reading) const {
  const auto& source = sources_[static_cast<std::size_t>(reading)];
  return source ? source->description : std::string();
}

std::string LibSensors::Reason(Reading reading) const {
  return reasons_[static_cast<std::size_t>(reading)];
}

std::vector<std::string> LibSensors::PassedOver(Reading reading) const {
  return passed_over_[static_cast<std::size_t>(reading)];
}

std::int32_t LibSensors::Read(Reading reading) {
  const auto& source = sources_[static_cast<std::size_t>(reading)];
  double value = 0.0;
  const bool ok = source && sensors_get_value(source->chip, source->subfeature, &value) == 0;
  if (!ok) {
    const char* name = InfoOf(reading).name;
    reporter_.SayOnce(
        std::string("lm-sensors ") + name,
        std::string(source ? "cannot read the sensor for the " : "no sensor for the ") + name +
            ", showing 0");
    return 0;
  }
  return ReadingFromValue(value * source->scale);
}

}  // namespace platform
