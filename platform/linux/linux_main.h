// SPDX-License-Identifier: GPL-2.0-or-later
// What the window-less build's main() functions share: the program's name
// in every message, the machine (iowarrior driver, lm-sensors, clocks) and
// the window-less loop, and no window system: every run is a --no-window run.
#pragma once

#include <algorithm>
#include <iostream>
#include <string_view>

#include "app/program.h"
#include "platform/linux/linux_machine.h"
#include "platform/posix/windowless_loop.h"
#include "platform/reporter.h"

namespace platform {

inline int RunWithoutWindows(int argc, char* argv[], std::string_view program,
                             int (*run)(app::Platform&)) {
  Reporter reporter(program, std::cerr);
  const auto machine = MakeLinuxMachine(reporter);
  WindowlessLoop windowless;
  app::Platform parts{{argv + std::min(argc, 1), argv + argc},
                      std::cout,
                      reporter,
                      *machine,
                      nullptr,
                      windowless.Events(),
                      &windowless};
  return run(parts);
}

}  // namespace platform
