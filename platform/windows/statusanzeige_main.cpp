// SPDX-License-Identifier: GPL-2.0-or-later
// statusanzeige on Windows: drives the real display on an IO-Warrior 24.
#include "platform/windows/win_main.h"

int main() { return platform::RunOnWindows(platform::kStatusanzeige, app::RunStatusanzeige); }
