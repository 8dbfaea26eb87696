// SPDX-License-Identifier: GPL-2.0-or-later
// The machine on Linux: the system's clocks, the kernel's iowarrior driver
// for the controller and lm-sensors for the readings. Needs no window system.
#pragma once

#include <memory>

#include "platform/machine.h"
#include "platform/reporter.h"

namespace platform {

class LinuxMachine final : public Machine {
 public:
  explicit LinuxMachine(Reporter& reporter);
  ~LinuxMachine() override;
  LinuxMachine(const LinuxMachine&) = delete;
  LinuxMachine& operator=(const LinuxMachine&) = delete;

  Clock& Clocks() override { return clock_; }
  Iowkit& Controller() override;
  Sensors& MachineSensors() override;

 private:
  Reporter& reporter_;
  SystemClock clock_;
  std::unique_ptr<Iowkit> controller_;
  std::unique_ptr<Sensors> sensors_;
};

}  // namespace platform
