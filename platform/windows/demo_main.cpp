// SPDX-License-Identifier: GPL-2.0-or-later
// statusanzeige-demo on Windows: the same program on an emulated IO-Warrior 24.
#include "emulator/demo.h"
#include "platform/windows/win_main.h"

int main() { return platform::RunOnWindows(platform::kStatusanzeigeDemo, emulator::RunDemo); }
