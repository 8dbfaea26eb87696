// SPDX-License-Identifier: GPL-2.0-or-later
#include "status/lhm_sensors.h"

#include <ostream>
#include <utility>

namespace status {

LhmSensors::LhmSensors(Fetch fetch, std::string url, platform::Clock& clock, std::ostream& errors,
                       std::string tried_before, std::string how_to_enable)
    : fetch_(std::move(fetch)),
      url_(std::move(url)),
      clock_(clock),
      errors_(errors),
      tried_before_(std::move(tried_before)),
      how_to_enable_(std::move(how_to_enable)) {}

void LhmSensors::Refresh() const {
  const double now = clock_.MonotonicSeconds();
  if (fetched_at_ && now >= *fetched_at_ && now - *fetched_at_ < kFreshSeconds) return;
  fetched_at_ = now;
  const LhmAnswer answer = fetch_();
  if (!answer.ok) {
    failure_ = answer.error.empty() ? "no answer" : answer.error;
    data_ = {};
  } else {
    data_ = ParseLhmData(answer.body);
    failure_ = data_.error.empty() ? "" : "its answer is " + data_.error;
  }
  choice_ = ChooseLhmSensors(data_.sensors);
}

void LhmSensors::WarnOnce(platform::Reading reading, const std::string& message) {
  bool& warned = warned_[static_cast<std::size_t>(reading)];
  if (warned) return;
  warned = true;
  errors_ << "statusanzeige: " << message << '\n' << std::flush;
}

const LhmSensor* LhmSensors::SensorFor(platform::Reading reading) {
  Refresh();
  const char* name = platform::InfoOf(reading).name;
  if (!failure_.empty()) {
    std::string message = std::string("no source for the ") + name +
                          ", showing 0. Tried: " + tried_before_ +
                          "LibreHardwareMonitor's web server at " + url_ + " (" + failure_ + ").";
    if (!how_to_enable_.empty()) message += " " + how_to_enable_;
    WarnOnce(reading, message);
    return nullptr;
  }
  const auto& chosen = choice_[static_cast<std::size_t>(reading)];
  if (!chosen) {
    WarnOnce(reading,
             std::string("LibreHardwareMonitor has no sensor for the ") + name + ", showing 0");
    return nullptr;
  }
  return &data_.sensors[*chosen];
}

std::int32_t LhmSensors::Read(platform::Reading reading) {
  const LhmSensor* sensor = SensorFor(reading);
  if (sensor == nullptr) return 0;
  if (!sensor->value) {
    WarnOnce(reading, std::string("cannot read the ") + platform::InfoOf(reading).name +
                          " from LibreHardwareMonitor's \"" + sensor->text + "\" (\"" +
                          sensor->value_text + "\"), showing 0");
    return 0;
  }
  return ReadingFromValue(*sensor->value);
}

std::string LhmSensors::Describe(platform::Reading reading) const {
  Refresh();
  const auto& chosen = choice_[static_cast<std::size_t>(reading)];
  if (!failure_.empty() || !chosen) return {};
  return "LibreHardwareMonitor: " + DescribeLhmSensor(data_.sensors[*chosen]);
}

}  // namespace status
