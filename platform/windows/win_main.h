// SPDX-License-Identifier: GPL-2.0-or-later
// What the Windows programs' main() functions share: the console they were
// started from, the program's name in every message (to the console and the
// debugger), the machine, the Win32 window system and message pump, put
// together for `run`.
#pragma once

#include <string_view>

#include "app/program.h"
#include "platform/reporter.h"
#include "platform/windows/messages.h"
#include "platform/windows/text.h"
#include "platform/windows/win_event_pump.h"
#include "platform/windows/win_machine.h"
#include "platform/windows/win_window_system.h"

namespace platform {

inline int RunOnWindows(std::string_view program, int (*run)(app::Platform&)) {
  AttachParentConsole();
  MessageStream errors(ConsoleOutput::Stream::kError, /*debugger=*/true);
  MessageStream output(ConsoleOutput::Stream::kOutput, /*debugger=*/false);
  Reporter reporter(program, errors);
  const auto machine = MakeWindowsMachine(reporter);
  WinWindowSystem windows(reporter);
  WinEventPump events;
  app::Platform parts{CommandLineArguments(), output, reporter, *machine, windows, events};
  return run(parts);
}

}  // namespace platform
