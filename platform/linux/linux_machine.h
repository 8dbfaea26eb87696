// SPDX-License-Identifier: GPL-2.0-or-later
// The machine on Linux: the system's clocks, the kernel's iowarrior driver
// for the controller and lm-sensors for the readings. Needs no window system.
#pragma once

#include <memory>

#include "platform/machine.h"
#include "platform/reporter.h"

namespace platform {

std::unique_ptr<Machine> MakeLinuxMachine(Reporter& reporter);

}  // namespace platform
