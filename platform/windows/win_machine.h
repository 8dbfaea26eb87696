// SPDX-License-Identifier: GPL-2.0-or-later
// The machine on Windows: the system's clocks, the IO-Warrior 24 through
// Windows' own HID driver, and the sensors (Asus.dll, else
// LibreHardwareMonitor).
#pragma once

#include <memory>

#include "platform/machine.h"
#include "platform/reporter.h"

namespace platform {

std::unique_ptr<Machine> MakeWindowsMachine(Reporter& reporter);

}  // namespace platform
