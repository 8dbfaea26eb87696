// The few command-line arguments the programs take.
#pragma once

#include <string>
#include <vector>

struct CommandLine {
  bool help = false;
  bool version = false;
  bool system_sensors = false;  // demo only
  std::string report_log;       // demo only
  std::string error;            // set when the arguments are wrong
};

// `demo` allows the emulated display's options as well.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool demo);

// One line: "Usage: NAME [--help] [--version] ...".
std::string UsageLine(const std::string& program, bool demo);

// What --help prints, ending in a newline.
std::string HelpText(const std::string& program, bool demo);
