// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/command_line.h"

#include <ostream>

#ifndef STATUSANZEIGE_VERSION
#define STATUSANZEIGE_VERSION "unknown"
#endif

namespace {

constexpr std::string_view kReportLog = "--report-log";

}  // namespace

platform::Result<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                               bool demo) {
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
    } else if (demo && (a == kReportLog || a.rfind(std::string(kReportLog) + "=", 0) == 0)) {
      // --report-log FILE or --report-log=FILE; never an empty name.
      std::string file;
      if (a.size() > kReportLog.size()) {
        file = a.substr(kReportLog.size() + 1);
      } else if (i + 1 < arguments.size()) {
        file = arguments[++i];
      }
      if (file.empty()) return platform::Failure{0, "--report-log needs a file name"};
      line.report_log = file;
    } else {
      return platform::Failure{0, "unknown argument '" + a + "'"};
    }
  }
  return line;
}

std::string UsageLine(std::string_view program, bool demo) {
  return "Usage: " + std::string(program) + " [--help] [--version] [--sensors]" +
         (demo ? " [--system-sensors] [--report-log FILE]" : "");
}

std::string HelpText(std::string_view program, bool demo) {
  std::string text = UsageLine(program, demo) + "\n\n";
  if (demo) {
    text += "Runs " + std::string(platform::kStatusanzeige) +
            " on an emulated IO-Warrior 24 with two SLG 2016 modules,\n"
            "drawn in a second window. No hardware needed.\n\n";
    text +=
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

std::optional<int> HandleCommandLine(const std::vector<std::string>& arguments, bool demo,
                                     std::ostream& out, platform::Reporter& reporter,
                                     CommandLine* line) {
  const std::string& program = reporter.Program();
  platform::Result<CommandLine> parsed = ParseCommandLine(arguments, demo);
  if (!parsed) {
    reporter.Say(parsed.Error().text + "; " + UsageLine(program, demo));
    return 2;
  }
  *line = std::move(*parsed);
  if (line->help) {
    out << HelpText(program, demo) << std::flush;
    return 0;
  }
  if (line->version) {
    out << program << ' ' << ProgramVersion() << '\n' << std::flush;
    return 0;
  }
  return std::nullopt;
}
