// SPDX-License-Identifier: GPL-2.0-or-later
// statusanzeige-demo on Linux: the same program on an emulated IO-Warrior 24.
#include "emulator/demo.h"
#include "platform/qt/qt_main.h"

int main(int argc, char* argv[]) {
  return platform::RunOnLinux(argc, argv, platform::kStatusanzeigeDemo, emulator::RunDemo);
}
