// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/win_machine.h"

#include "platform/shared/system_machine.h"
#include "platform/windows/hid_iowkit.h"
#include "platform/windows/win_facts.h"
#include "platform/windows/windows_sensors.h"

namespace platform {

std::unique_ptr<Machine> MakeWindowsMachine(Reporter& reporter) {
  return std::make_unique<SystemMachine>(
      [&reporter](Clock& clock) -> std::unique_ptr<Iowkit> {
        return std::make_unique<HidIowkit>(MakeWindowsHidSystem(), clock, reporter);
      },
      [&reporter](Clock& clock) { return MakeWindowsSensors(reporter, clock); },
      MakeWindowsFacts());
}

}  // namespace platform
