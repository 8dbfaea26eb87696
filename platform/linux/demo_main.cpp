// SPDX-License-Identifier: GPL-2.0-or-later
// statusanzeige-demo on Linux, window-less: the same program on an emulated
// IO-Warrior 24, whose reports go to the report log.
#include "emulator/demo.h"
#include "platform/linux/linux_main.h"

int main(int argc, char* argv[]) {
  return platform::RunWithoutWindows(argc, argv, platform::kStatusanzeigeDemo, emulator::RunDemo);
}
