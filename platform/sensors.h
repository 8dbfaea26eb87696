// The seven motherboard readings. Each call takes one fresh reading: whole
// degrees Celsius, millivolts or revolutions per minute. Only the low 16 bits
// of a result count, taken as signed.
#pragma once

#include <cstdint>

namespace platform {

class Sensors {
 public:
  virtual ~Sensors() = default;
  virtual std::int32_t GetCPUTemperature() = 0;
  virtual std::int32_t GetMBTemperature() = 0;
  virtual std::int32_t GetVoltIN1() = 0;  // CPU core voltage
  virtual std::int32_t GetVoltIN2() = 0;  // 3.3 V rail
  virtual std::int32_t GetVoltIN3() = 0;  // 5 V rail
  virtual std::int32_t GetVoltIN4() = 0;  // 12 V rail
  virtual std::int32_t GetFanCPURPM() = 0;
};

}  // namespace platform
