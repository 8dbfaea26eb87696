// SPDX-License-Identifier: GPL-2.0-or-later
// The machine the program runs on, apart from any window system: its clocks,
// its controller layer, its sensors and its facts. A program without windows is made
// from this part alone.
#pragma once

#include "platform/clock.h"
#include "platform/iowkit.h"
#include "platform/machine_facts.h"
#include "platform/sensors.h"

namespace platform {

class Machine {
 public:
  virtual ~Machine() = default;
  virtual Clock& Clocks() = 0;
  // The machine's own controller layer and sensors, made at their first use
  // and kept for the machine's lifetime.
  virtual Iowkit& Controller() = 0;
  virtual Sensors& MachineSensors() = 0;
  // Host name, processor, memory, local time, and where texts files lie.
  virtual MachineFacts& Facts() = 0;
};

}  // namespace platform
