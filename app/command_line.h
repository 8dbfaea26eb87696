// SPDX-License-Identifier: GPL-2.0-or-later
// The command line, handled once for both programs.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

struct ProgramInfo {
  const char* name;  // "statusanzeige" or "statusanzeige-demo"
  bool demo;         // takes the emulated display's options as well
};

inline constexpr ProgramInfo kStatusanzeige{"statusanzeige", false};
inline constexpr ProgramInfo kStatusanzeigeDemo{"statusanzeige-demo", true};

struct CommandLine {
  bool help = false;
  bool version = false;
  bool sensors = false;         // list the sensors, then exit
  bool system_sensors = false;  // demo only
  std::string report_log;       // demo only
  std::string error;            // set when the arguments are wrong
};

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool demo);

// One line: "Usage: NAME [--help] [--version] ...".
std::string UsageLine(const ProgramInfo& program);

// What --help prints, ending in a newline.
std::string HelpText(const ProgramInfo& program);

// The program's version, e.g. "1.0.0".
const char* ProgramVersion();

// Parses `arguments` into `line`. Answers --help and --version on `out`, and
// wrong arguments with a usage line on `errors`; then returns the exit status
// (0, or 2 for wrong arguments). Returns nothing when the program goes on.
std::optional<int> HandleCommandLine(const ProgramInfo& program,
                                     const std::vector<std::string>& arguments, std::ostream& out,
                                     std::ostream& errors, CommandLine* line);
