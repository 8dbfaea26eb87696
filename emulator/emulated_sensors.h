// Plausible motherboard readings that drift slowly, for trying the program
// without a real board's sensors.
#pragma once

#include <cstdint>

#include "platform/clock.h"
#include "platform/sensors.h"

namespace emulator {

class EmulatedSensors final : public platform::Sensors {
 public:
  explicit EmulatedSensors(platform::Clock& clock) : clock_(clock) {}

  std::int32_t GetCPUTemperature() override { return Drift(47.5, 7.0, 180.0, 0.0, 0.4); }
  std::int32_t GetMBTemperature() override { return Drift(35.0, 4.5, 420.0, 1.0, 0.3); }
  std::int32_t GetVoltIN1() override { return Drift(1500.0, 190.0, 240.0, 2.0, 6.0); }
  std::int32_t GetVoltIN2() override { return Drift(3300.0, 80.0, 300.0, 3.0, 4.0); }
  std::int32_t GetVoltIN3() override { return Drift(5000.0, 120.0, 360.0, 4.0, 6.0); }
  std::int32_t GetVoltIN4() override { return Drift(12000.0, 290.0, 330.0, 5.0, 15.0); }
  std::int32_t GetFanCPURPM() override { return Drift(3000.0, 950.0, 200.0, 6.0, 20.0); }

 private:
  // A slow sine around `middle` of amplitude `swing` and period `period`
  // seconds, plus a little noise of at most `jitter`.
  std::int32_t Drift(double middle, double swing, double period, double phase, double jitter);

  platform::Clock& clock_;
  std::uint32_t noise_ = 0x2545F491U;
};

}  // namespace emulator
