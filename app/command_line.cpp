// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/command_line.h"

#include <ostream>

#ifndef STATUSANZEIGE_VERSION
#define STATUSANZEIGE_VERSION "unknown"
#endif

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool demo) {
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--help" || a == "-h") {
      line.help = true;
    } else if (a == "--version") {
      line.version = true;
    } else if (a == "--sensors") {
      line.sensors = true;
    } else if (demo && a == "--system-sensors") {
      line.system_sensors = true;
    } else if (demo && a == "--report-log") {
      if (i + 1 == arguments.size() || arguments[i + 1].empty()) {
        line.error = "--report-log needs a file name";
        return line;
      }
      line.report_log = arguments[++i];
    } else if (demo && a.rfind("--report-log=", 0) == 0 && a.size() > 13) {
      line.report_log = a.substr(13);
    } else {
      line.error = "unknown argument '" + a + "'";
      return line;
    }
  }
  return line;
}

std::string UsageLine(const ProgramInfo& program) {
  return std::string("Usage: ") + program.name + " [--help] [--version] [--sensors]" +
         (program.demo ? " [--system-sensors] [--report-log FILE]" : "");
}

std::string HelpText(const ProgramInfo& program) {
  std::string text = UsageLine(program) + "\n\n";
  if (program.demo) {
    text +=
        "Runs statusanzeige on an emulated IO-Warrior 24 with two SLG 2016 modules,\n"
        "drawn in a second window. No hardware needed.\n\n"
        "  --system-sensors   show this machine's sensors instead of emulated\n"
        "                     readings\n"
        "  --report-log FILE  append one line per report sent: epoch seconds, then\n"
        "                     the three report bytes in hex\n";
  } else {
    text +=
        "Shows the PC's status on an eight-character SLG 2016 display on an\n"
        "IO-Warrior 24. Click \"Anzeigestart\" to run the nine texts once.\n";
  }
  text +=
      "  --sensors          list where each reading comes from, its value now and\n"
      "                     what the display shows for it, then exit\n"
      "  --help             show this help\n"
      "  --version          show the version\n";
  return text;
}

const char* ProgramVersion() { return STATUSANZEIGE_VERSION; }

std::optional<int> HandleCommandLine(const ProgramInfo& program,
                                     const std::vector<std::string>& arguments, std::ostream& out,
                                     std::ostream& errors, CommandLine* line) {
  *line = ParseCommandLine(arguments, program.demo);
  if (!line->error.empty()) {
    errors << program.name << ": " << line->error << "; " << UsageLine(program) << '\n'
           << std::flush;
    return 2;
  }
  if (line->help) {
    out << HelpText(program) << std::flush;
    return 0;
  }
  if (line->version) {
    out << program.name << ' ' << ProgramVersion() << '\n' << std::flush;
    return 0;
  }
  return std::nullopt;
}
