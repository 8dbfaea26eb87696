// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/linux_machine.h"

#include "platform/linux/iowarrior_linux.h"
#include "platform/linux/libsensors_sensors.h"

namespace platform {

LinuxMachine::LinuxMachine(Reporter& reporter) : reporter_(reporter) {}

LinuxMachine::~LinuxMachine() = default;

Iowkit& LinuxMachine::Controller() {
  if (!controller_) {
    controller_ = std::make_unique<LinuxIowkit>(MakeLinuxIowarriorKernel(), clock_, reporter_);
  }
  return *controller_;
}

Sensors& LinuxMachine::MachineSensors() {
  if (!sensors_) sensors_ = std::make_unique<LibSensors>(reporter_);
  return *sensors_;
}

}  // namespace platform
