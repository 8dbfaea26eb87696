// SPDX-License-Identifier: GPL-2.0-or-later
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

  std::int32_t Read(platform::Reading reading) override;
  [[nodiscard]] std::string Describe(platform::Reading reading) const override;

 private:
  platform::Clock& clock_;
  std::uint32_t noise_ = 0x2545F491U;
};

}  // namespace emulator
