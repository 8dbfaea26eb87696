// SPDX-License-Identifier: GPL-2.0-or-later
// statusanzeige-demo: the same program on an emulated IO-Warrior 24, with a
// second window that shows what the two SLG 2016 modules would show.
#pragma once

#include "app/program.h"

namespace emulator {

int RunDemo(app::Platform& platform);

}  // namespace emulator
