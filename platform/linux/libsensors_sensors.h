// SPDX-License-Identifier: GPL-2.0-or-later
// The seven readings from the machine's own sensors through lm-sensors.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/reporter.h"
#include "platform/sensors.h"

struct sensors_chip_name;

namespace platform {

class LibSensors final : public Sensors {
 public:
  // Reads the system's sensors.conf (and sensors.d) unless `config_path`
  // names another file. Each reading that has no sensor is said once, the
  // first time it is taken.
  explicit LibSensors(Reporter& reporter, const std::string& config_path = {});
  ~LibSensors() override;
  LibSensors(const LibSensors&) = delete;
  LibSensors& operator=(const LibSensors&) = delete;

  std::int32_t Read(Reading reading) override;
  // Which chip and feature supplies a reading, e.g. "nct6798-isa-0290 in0 (Vcore)".
  [[nodiscard]] std::string Describe(Reading reading) const override;
  [[nodiscard]] std::string Reason(Reading reading) const override;
  [[nodiscard]] std::vector<std::string> PassedOver(Reading reading) const override;

 private:
  struct Source {
    const sensors_chip_name* chip;
    int subfeature;
    double scale;  // to degrees, millivolts or rpm
    std::string description;
  };

  Reporter& reporter_;
  bool initialized_ = false;
  std::array<std::optional<Source>, kReadingCount> sources_{};
  std::array<std::string, kReadingCount> reasons_{};
  std::array<std::vector<std::string>, kReadingCount> passed_over_{};
};

}  // namespace platform
