// SPDX-License-Identifier: GPL-2.0-or-later
// What the Windows programs' main() functions share: the console they were
// started from, the program's name in every message (to the console and the
// debugger), the machine, the Win32 window system and message pump, put
// together for `run`.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"
#include "platform/reporter.h"
#include "platform/windows/messages.h"
#include "platform/windows/text.h"
#include "platform/windows/win_event_pump.h"
#include "platform/windows/win_machine.h"
#include "platform/windows/win_window_system.h"

namespace platform {

// The benchmarks hand in an event pump, a machine or the arguments of their
// own.
inline int RunOnWindows(std::string_view program, int (*run)(app::Platform&),
                        EventPump* events = nullptr, Machine* machine = nullptr,
                        std::optional<std::vector<std::string>> arguments = std::nullopt) {
  AttachParentConsole();
  MessageStream errors(ConsoleOutput::Stream::kError, /*debugger=*/true);
  MessageStream output(ConsoleOutput::Stream::kOutput, /*debugger=*/false);
  Reporter reporter(program, errors);
  const auto windows_machine = machine == nullptr ? MakeWindowsMachine(reporter) : nullptr;
  WinWindowSystem windows(reporter);
  WinEventPump win_events;
  app::Platform parts{arguments ? std::move(*arguments) : CommandLineArguments(),
                      output,
                      reporter,
                      machine != nullptr ? *machine : *windows_machine,
                      &windows,
                      events != nullptr ? *events : win_events};
  return run(parts);
}

}  // namespace platform
