// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/linux/linux_machine.h"

#include "platform/linux/iowarrior_linux.h"
#include "platform/linux/libsensors_sensors.h"
#include "platform/linux/linux_facts.h"
#include "platform/shared/system_machine.h"

namespace platform {

std::unique_ptr<Machine> MakeLinuxMachine(Reporter& reporter) {
  return std::make_unique<SystemMachine>(
      [&reporter](Clock& clock) -> std::unique_ptr<Iowkit> {
        return std::make_unique<LinuxIowkit>(MakeLinuxIowarriorKernel(), clock, reporter);
      },
      [&reporter](Clock& /*clock*/) -> std::unique_ptr<Sensors> {
        return std::make_unique<LibSensors>(reporter);
      },
      MakeLinuxFacts());
}

}  // namespace platform
