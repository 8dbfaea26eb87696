// SPDX-License-Identifier: GPL-2.0-or-later
// What the Linux programs' main() functions share: the program's name in
// every message, the machine (iowarrior driver, lm-sensors, clocks), the Qt
// window system and the Qt event pump, put together for `run`. The
// benchmarks hand in an event pump, or a machine, of their own.
#pragma once

#include <algorithm>
#include <iostream>
#include <string_view>

#include "app/program.h"
#include "platform/linux/linux_machine.h"
#include "platform/posix/windowless_loop.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_window_system.h"
#include "platform/reporter.h"

namespace platform {

inline int RunOnLinux(int argc, char* argv[], std::string_view program, int (*run)(app::Platform&),
                      EventPump* events = nullptr, Machine* machine = nullptr) {
  Reporter reporter(program, std::cerr);
  const auto linux_machine = machine == nullptr ? MakeLinuxMachine(reporter) : nullptr;
  QtWindowSystem windows(argc, argv);
  QtEventPump qt_events;
  WindowlessLoop windowless;
  app::Platform parts{{argv + std::min(argc, 1), argv + argc},
                      std::cout,
                      reporter,
                      machine != nullptr ? *machine : *linux_machine,
                      &windows,
                      events != nullptr ? *events : qt_events,
                      &windowless};
  return run(parts);
}

}  // namespace platform
