// The seven readings from the machine's own sensors through lm-sensors.
#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>

#include "status/sensor_choice.h"
#include "platform/sensors.h"

struct sensors_chip_name;

namespace platform {

class LibSensors final : public Sensors {
 public:
  // Reads the system's sensors.conf (and sensors.d) unless `config_path`
  // names another file. `errors` receives one line, the first time, for each
  // reading that has no sensor.
  explicit LibSensors(std::ostream& errors, const std::string& config_path = {});
  ~LibSensors() override;
  LibSensors(const LibSensors&) = delete;
  LibSensors& operator=(const LibSensors&) = delete;

  std::int32_t GetCPUTemperature() override { return Read(Reading::kCpuTemperature); }
  std::int32_t GetMBTemperature() override { return Read(Reading::kBoardTemperature); }
  std::int32_t GetVoltIN1() override { return Read(Reading::kCoreVoltage); }
  std::int32_t GetVoltIN2() override { return Read(Reading::kRail3V3); }
  std::int32_t GetVoltIN3() override { return Read(Reading::kRail5V); }
  std::int32_t GetVoltIN4() override { return Read(Reading::kRail12V); }
  std::int32_t GetFanCPURPM() override { return Read(Reading::kCpuFan); }

  // Which chip and feature supplies a reading, e.g. "nct6798-isa-0290 in0 (Vcore)".
  [[nodiscard]] std::optional<std::string> Describe(Reading reading) const;

 private:
  struct Source {
    const sensors_chip_name* chip;
    int subfeature;
    double scale;  // to degrees, millivolts or rpm
    std::string description;
  };

  std::int32_t Read(Reading reading);

  std::ostream& errors_;
  bool initialized_ = false;
  std::array<std::optional<Source>, kReadingCount> sources_{};
  std::array<bool, kReadingCount> warned_{};
};

}  // namespace platform
