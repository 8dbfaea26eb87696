// SPDX-License-Identifier: GPL-2.0-or-later
// The programs' start-up and event loop, the same on every platform. Each
// platform's main() makes its Toolkit and calls one of these.
#pragma once

#include <functional>

#include "platform/iowkit.h"
#include "platform/sensors.h"
#include "platform/toolkit.h"
#include "platform/window.h"

namespace app {

struct FormHooks {
  // After the main window has appeared.
  std::function<void(platform::FormWindow& window)> shown;
  // After the main window has unloaded (the device link is closed).
  std::function<void()> unloaded;
};

// Loads Form1 on the toolkit's window with the given controller and sensors:
// without a device it shows the error box and returns 1, else it shows the
// window and runs the event loop until the window has closed (returns 0).
int RunForm(platform::Toolkit& toolkit, platform::Iowkit& iowkit, platform::Sensors& sensors,
            const FormHooks& hooks = {});

// statusanzeige: the real controller and the machine's sensors.
int RunStatusanzeige(platform::Toolkit& toolkit);

}  // namespace app
