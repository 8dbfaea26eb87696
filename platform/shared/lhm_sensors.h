// SPDX-License-Identifier: GPL-2.0-or-later
// The seven readings from LibreHardwareMonitor's web server. Portable: the
// platform supplies the call that fetches data.json.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/reporter.h"
#include "platform/result.h"
#include "platform/sensors.h"
#include "platform/shared/lhm_data.h"

namespace platform {

// Where LibreHardwareMonitor serves its sensors when its "Remote web server"
// is on (Options > Remote Web Server > Run), on its default port.
inline constexpr int kLhmPort = 8085;
inline constexpr const char* kLhmPath = "/data.json";
inline constexpr const char* kLhmUrl = "http://localhost:8085/data.json";

class LhmSensors final : public Sensors {
 public:
  // One answer of the web server (data.json), or why there is none, e.g.
  // "no answer within 100 ms".
  using Fetch = std::function<Result<std::string>()>;

  // `fetch` asks the server at `url` once; it is called at most once a
  // second, so the readings of one text cost one request. When there is no
  // data, each reading says once that it shows 0, which sources were tried
  // (`tried_before`, then this one) and `how_to_enable`.
  LhmSensors(Fetch fetch, std::string url, Clock& clock, Reporter& reporter,
             std::string tried_before = {}, std::string how_to_enable = {});

  std::int32_t Read(Reading reading) override;
  // "LibreHardwareMonitor: Nuvoton NCT6798D: Vcore (/lpc/nct6798d/0/voltage/0)".
  [[nodiscard]] std::string Describe(Reading reading) const override;
  [[nodiscard]] std::string Reason(Reading reading) const override;
  [[nodiscard]] std::vector<std::string> PassedOver(Reading reading) const override;

  // Seconds for which one answer serves all readings.
  static constexpr double kFreshSeconds = 1.0;

 private:
  void Refresh() const;
  // The chosen sensor, or nothing after saying (once) why not.
  const LhmSensor* SensorFor(Reading reading);
  void SayOnce(Reading reading, const std::string& message);

  Fetch fetch_;
  std::string url_;
  Clock& clock_;
  Reporter& reporter_;
  std::string tried_before_;
  std::string how_to_enable_;

  mutable std::optional<double> fetched_at_;
  mutable std::string failure_;  // why the last answer gave no sensor tree
  mutable LhmSensorList sensors_;
  mutable LhmChoice choice_{};
};

}  // namespace platform
