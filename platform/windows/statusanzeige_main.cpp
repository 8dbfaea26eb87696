// SPDX-License-Identifier: GPL-2.0-or-later
// statusanzeige on Windows: drives the real display on an IO-Warrior 24.
#include "app/program.h"
#include "platform/windows/win_toolkit.h"

int main() {
  platform::WinToolkit toolkit("statusanzeige");
  return app::RunStatusanzeige(toolkit);
}
