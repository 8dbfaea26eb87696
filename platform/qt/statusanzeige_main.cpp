// SPDX-License-Identifier: GPL-2.0-or-later
// statusanzeige on Linux: drives the real display on an IO-Warrior 24.
#include "app/program.h"
#include "platform/qt/qt_toolkit.h"

int main(int argc, char* argv[]) {
  platform::QtToolkit toolkit(argc, argv, "statusanzeige");
  return app::RunStatusanzeige(toolkit);
}
