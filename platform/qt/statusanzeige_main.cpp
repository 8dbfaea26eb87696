// SPDX-License-Identifier: GPL-2.0-or-later
// statusanzeige on Linux: drives the real display on an IO-Warrior 24.
#include "platform/qt/qt_main.h"

int main(int argc, char* argv[]) {
  return platform::RunOnLinux(argc, argv, platform::kStatusanzeige, app::RunStatusanzeige);
}
