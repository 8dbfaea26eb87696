// SPDX-License-Identifier: GPL-2.0-or-later
// The machine's facts on Windows: the computer's DNS host name, the
// processor's name from the registry, the physical memory, the local time,
// and the texts files beside the program and in the user's roaming
// application data.
#pragma once

#include <memory>

#include "platform/machine_facts.h"

namespace platform {

std::unique_ptr<MachineFacts> MakeWindowsFacts();

}  // namespace platform
