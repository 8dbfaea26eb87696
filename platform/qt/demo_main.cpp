// SPDX-License-Identifier: GPL-2.0-or-later
// statusanzeige-demo on Linux: the same program on an emulated IO-Warrior 24.
#include "emulator/demo.h"
#include "platform/qt/qt_toolkit.h"

int main(int argc, char* argv[]) {
  platform::QtToolkit toolkit(argc, argv, "statusanzeige-demo");
  return emulator::RunDemo(toolkit);
}
