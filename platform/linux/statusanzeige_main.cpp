// SPDX-License-Identifier: GPL-2.0-or-later
// statusanzeige on Linux, window-less: drives the real display on an
// IO-Warrior 24, run after run until SIGINT or SIGTERM.
#include "platform/linux/linux_main.h"

int main(int argc, char* argv[]) {
  return platform::RunWithoutWindows(argc, argv, platform::kStatusanzeige, app::RunStatusanzeige);
}
