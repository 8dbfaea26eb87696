// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/command_line.h"

#include <ostream>

#ifndef STATUSANZEIGE_VERSION
#define STATUSANZEIGE_VERSION "unknown"
#endif

namespace {

// An option with a file name, "--option FILE" or "--option=FILE": nothing
// when `arguments[*i]` is not that option, else the name, never empty.
std::optional<platform::Result<std::string>> FileOption(std::string_view option,
                                                        const std::vector<std::string>& arguments,
                                                        std::size_t* i) {
  const std::string& a = arguments[*i];
  if (a != option && a.rfind(std::string(option) + "=", 0) != 0) return std::nullopt;
  std::string name;
  if (a.size() > option.size()) {
    name = a.substr(option.size() + 1);
  } else if (*i + 1 < arguments.size()) {
    name = arguments[++*i];
  }
  if (name.empty()) return platform::Failure{0, std::string(option) + " needs a file name"};
  return name;
}

}  // namespace

platform::Result<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments,
                                               const Accepts& accepts) {
  const bool demo = accepts.demo;
  CommandLine line;
  line.no_window = line.repeat = line.start = !accepts.window;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (!accepts.window && (a == "--start" || a == "--repeat" || a == "--minimized")) {
      return platform::Failure{0, a + " needs a window, and this is the window-less build: it runs "
                                      "run after run until SIGINT or SIGTERM"};
    }
    if (a == "--help" || a == "-h") {
      line.help = true;
    } else if (a == "--version") {
      line.version = true;
    } else if (a == "--sensors") {
      line.sensors = true;
    } else if (a == "--start") {
      line.start = true;
    } else if (a == "--repeat") {
      line.repeat = line.start = true;
    } else if ((accepts.no_window || !accepts.window) && a == "--no-window") {
      line.no_window = line.repeat = line.start = true;
    } else if (a == "--minimized") {
      line.minimized = true;
    } else if (demo && a == "--system-sensors") {
      line.system_sensors = true;
    } else if (a == "--check-texts") {
      line.check_texts = true;
    } else if (auto texts = FileOption("--texts", arguments, &i)) {
      if (!*texts) return texts->Error();
      line.texts = std::move(**texts);
    } else if (auto log = demo ? FileOption("--report-log", arguments, &i) : std::nullopt) {
      if (!*log) return log->Error();
      line.report_log = std::move(**log);
    } else {
      return platform::Failure{0, "unknown argument '" + a + "'"};
    }
  }
  return line;
}

std::string UsageLine(std::string_view program, const Accepts& accepts) {
  const std::string window = !accepts.window ? " [--no-window]"
                                             : std::string(" [--start] [--repeat]") +
                                                   (accepts.no_window ? " [--no-window]" : "") +
                                                   " [--minimized]";
  return "Usage: " + std::string(program) + " [--help] [--version] [--sensors]" +
         " [--texts FILE] [--check-texts]" + window +
         (accepts.demo ? " [--system-sensors] [--report-log FILE]" : "");
}

std::string HelpText(std::string_view program, const Accepts& accepts) {
  std::string text = UsageLine(program, accepts) + "\n\n";
  if (accepts.demo) {
    text += "Runs " + std::string(platform::kStatusanzeige) +
            " on an emulated IO-Warrior 24 with two SLG 2016 modules,\n" +
            (accepts.window ? "drawn in a second window" : "shown in the report log alone") +
            ". No hardware needed.\n\n";
    text +=
        "  --system-sensors   show this machine's sensors instead of emulated\n"
        "                     readings\n"
        "  --report-log FILE  append one line per report sent: epoch seconds, then\n"
        "                     the three report bytes in hex\n";
  } else {
    text += "Shows the PC's status on an eight-character SLG 2016 display on an\nIO-Warrior 24.";
    text += accepts.window ? " Click \"Anzeigestart\" to run the nine texts once.\n\n" : "\n\n";
  }
  if (!accepts.window) {
    text +=
        "This is the window-less build: it needs no display server and runs the\n"
        "texts run after run until SIGINT or SIGTERM (as --no-window does in the\n"
        "build with a window, which this one accepts and ignores).\n\n";
  } else {
    text +=
        "  --start            click \"Anzeigestart\" once the window is shown\n"
        "  --repeat           as --start, then run after run, each on the second the\n"
        "                     last one ended, until the window closes\n";
    if (accepts.no_window) {
      text +=
          "  --no-window        no window and no display server: run after run until\n"
          "                     SIGINT or SIGTERM\n";
    }
    text += "  --minimized        show the window minimized\n";
  }
  text +=
      "  --texts FILE       show the texts of FILE instead of looking for a texts\n"
      "                     file (see TEXTS FILE in the manual)\n"
      "  --check-texts      show each text as it would go to the display now,\n"
      "                     with a warning where one would not show well, then exit\n"
      "  --sensors          list where each reading comes from, its value now and\n"
      "                     what the display shows for it, then exit\n"
      "  --help             show this help\n"
      "  --version          show the version\n";
  return text;
}

const char* ProgramVersion() { return STATUSANZEIGE_VERSION; }

std::optional<int> HandleCommandLine(const std::vector<std::string>& arguments,
                                     const Accepts& accepts, std::ostream& out,
                                     platform::Reporter& reporter, CommandLine* line) {
  const std::string& program = reporter.Program();
  platform::Result<CommandLine> parsed = ParseCommandLine(arguments, accepts);
  if (!parsed) {
    reporter.Say(parsed.Error().text + "; " + UsageLine(program, accepts));
    return 2;
  }
  *line = std::move(*parsed);
  if (line->help) {
    out << HelpText(program, accepts) << std::flush;
    return 0;
  }
  if (line->version) {
    out << program << ' ' << ProgramVersion() << '\n' << std::flush;
    return 0;
  }
  return std::nullopt;
}
