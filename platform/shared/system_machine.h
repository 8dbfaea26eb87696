// SPDX-License-Identifier: GPL-2.0-or-later
// A machine as both platforms make it: the system's clocks, and the
// controller layer and the sensors, each made at its first use (on the
// machine's clock) and kept for the machine's lifetime, and the machine's
// facts.
#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "platform/machine.h"

namespace platform {

class SystemMachine final : public Machine {
 public:
  template <typename T>
  using Maker = std::function<std::unique_ptr<T>(Clock& clock)>;

  SystemMachine(Maker<Iowkit> make_controller, Maker<Sensors> make_sensors,
                std::unique_ptr<MachineFacts> facts)
      : make_controller_(std::move(make_controller)),
        make_sensors_(std::move(make_sensors)),
        facts_(std::move(facts)) {}

  Clock& Clocks() override { return clock_; }
  Iowkit& Controller() override {
    if (!controller_) controller_ = make_controller_(clock_);
    return *controller_;
  }
  Sensors& MachineSensors() override {
    if (!sensors_) sensors_ = make_sensors_(clock_);
    return *sensors_;
  }
  MachineFacts& Facts() override { return *facts_; }

 private:
  SystemClock clock_;
  Maker<Iowkit> make_controller_;
  Maker<Sensors> make_sensors_;
  std::unique_ptr<Iowkit> controller_;
  std::unique_ptr<Sensors> sensors_;
  std::unique_ptr<MachineFacts> facts_;
};

}  // namespace platform
