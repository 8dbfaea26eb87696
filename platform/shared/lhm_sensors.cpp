// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/lhm_sensors.h"

#include <utility>

#include "platform/shared/sensor_values.h"

namespace platform {

LhmSensors::LhmSensors(Fetch fetch, std::string url, Clock& clock, Reporter& reporter,
                       std::string tried_before, std::string how_to_enable)
    : fetch_(std::move(fetch)),
      url_(std::move(url)),
      clock_(clock),
      reporter_(reporter),
      tried_before_(std::move(tried_before)),
      how_to_enable_(std::move(how_to_enable)) {}

void LhmSensors::Refresh() const {
  const double now = clock_.MonotonicSeconds();
  if (fetched_at_ && now >= *fetched_at_ && now - *fetched_at_ < kFreshSeconds) return;
  fetched_at_ = now;
  sensors_.clear();
  const Result<std::string> answer = fetch_();
  if (!answer) {
    failure_ = answer.Error().text.empty() ? "no answer" : answer.Error().text;
  } else if (Result<LhmSensorList> parsed = ParseLhmData(*answer); !parsed) {
    failure_ = "its answer is " + parsed.Error().text;
  } else {
    failure_.clear();
    sensors_ = std::move(*parsed);
  }
  choice_ = ChooseLhmSensors(sensors_);
}

// Each reading says at most one thing about itself, whatever goes wrong.
void LhmSensors::SayOnce(Reading reading, const std::string& message) {
  reporter_.SayOnce(std::string("LibreHardwareMonitor ") + InfoOf(reading).name, message);
}

const LhmSensor* LhmSensors::SensorFor(Reading reading) {
  Refresh();
  const char* name = InfoOf(reading).name;
  if (!failure_.empty()) {
    std::string message = std::string("no source for the ") + name +
                          ", showing 0. Tried: " + tried_before_ +
                          "LibreHardwareMonitor's web server at " + url_ + " (" + failure_ + ").";
    if (!how_to_enable_.empty()) message += " " + how_to_enable_;
    SayOnce(reading, message);
    return nullptr;
  }
  const auto& chosen = choice_[static_cast<std::size_t>(reading)].index;
  if (!chosen) {
    SayOnce(reading,
            std::string("LibreHardwareMonitor has no sensor for the ") + name + ", showing 0");
    return nullptr;
  }
  return &sensors_[*chosen];
}

std::int32_t LhmSensors::Read(Reading reading) {
  const LhmSensor* sensor = SensorFor(reading);
  if (sensor == nullptr) return 0;
  if (!sensor->value) {
    SayOnce(reading, std::string("cannot read the ") + InfoOf(reading).name +
                         " from LibreHardwareMonitor's \"" + sensor->text + "\" (\"" +
                         sensor->value_text + "\"), showing 0");
    return 0;
  }
  return ReadingFromValue(*sensor->value);
}

std::string LhmSensors::Describe(Reading reading) const {
  Refresh();
  const auto& chosen = choice_[static_cast<std::size_t>(reading)].index;
  if (!failure_.empty() || !chosen) return {};
  return "LibreHardwareMonitor: " + DescribeLhmSensor(sensors_[*chosen]);
}

std::string LhmSensors::Reason(Reading reading) const {
  Refresh();
  return failure_.empty() ? choice_[static_cast<std::size_t>(reading)].reason : std::string();
}

std::vector<std::string> LhmSensors::PassedOver(Reading reading) const {
  Refresh();
  std::vector<std::string> passed_over;
  if (!failure_.empty()) return passed_over;
  for (const PassedOverFeature& passed : choice_[static_cast<std::size_t>(reading)].passed_over) {
    passed_over.push_back(DescribeLhmSensor(sensors_[passed.index]) + " " + passed.why);
  }
  return passed_over;
}

}  // namespace platform
