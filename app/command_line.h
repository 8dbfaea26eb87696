// SPDX-License-Identifier: GPL-2.0-or-later
// The command line, handled once for both programs.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/reporter.h"
#include "platform/result.h"

struct CommandLine {
  bool help = false;
  bool version = false;
  bool sensors = false;         // list the sensors, then exit
  bool start = false;           // click "Anzeigestart" once the window is shown
  bool repeat = false;          // run after run until the end; implies start
  bool no_window = false;       // no window system at all; implies repeat
  bool minimized = false;       // show the window minimized
  bool check_texts = false;     // show the texts as they would go to the display, then exit
  std::string texts;            // the texts file named; empty: looked for
  bool system_sensors = false;  // demo only
  std::string report_log;       // demo only
};

// What a program's command line takes beyond the options every one has.
struct Accepts {
  bool demo = false;       // the emulated display's options
  bool no_window = false;  // --no-window, where the platform can run without windows
  // False in the window-less build: every run is a --no-window run, and the
  // window's options are refused.
  bool window = true;
};

// The arguments after the program's name. A failure says what is wrong with
// them. --repeat sets start, --no-window sets repeat and start as well.
platform::Result<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                               const Accepts& accepts);

// One line: "Usage: NAME [--help] [--version] ...".
std::string UsageLine(std::string_view program, const Accepts& accepts);

// What --help prints, ending in a newline.
std::string HelpText(std::string_view program, const Accepts& accepts);

// The program's version, e.g. "1.0.0".
const char* ProgramVersion();

// Parses `arguments` into `line`, for the program the reporter names.
// Answers --help (before anything else) and --version on `out`, and wrong
// arguments with a usage line through the reporter; then returns the exit
// status (0, or 2 for wrong arguments). Returns nothing when the program
// goes on.
std::optional<int> HandleCommandLine(const std::vector<std::string>& arguments,
                                     const Accepts& accepts, std::ostream& out,
                                     platform::Reporter& reporter, CommandLine* line);
