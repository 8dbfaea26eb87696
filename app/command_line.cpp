#include "app/command_line.h"

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, bool demo) {
  CommandLine line;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& a = arguments[i];
    if (a == "--help" || a == "-h") {
      line.help = true;
    } else if (a == "--version") {
      line.version = true;
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

std::string UsageLine(const std::string& program, bool demo) {
  return "Usage: " + program + " [--help] [--version]" +
         (demo ? " [--system-sensors] [--report-log FILE]" : "");
}

std::string HelpText(const std::string& program, bool demo) {
  std::string text = UsageLine(program, demo) + "\n\n";
  if (demo) {
    text +=
        "Runs statusanzeige on an emulated IO-Warrior 24 with two SLG 2016 modules,\n"
        "drawn in a second window. No hardware needed.\n\n"
        "  --system-sensors   show this machine's sensors (lm-sensors) instead of\n"
        "                     emulated readings\n"
        "  --report-log FILE  append one line per report sent: epoch seconds, then\n"
        "                     the three report bytes in hex\n";
  } else {
    text +=
        "Shows the PC's status on an eight-character SLG 2016 display on an\n"
        "IO-Warrior 24. Click \"Anzeigestart\" to run the nine texts once.\n";
  }
  text +=
      "  --help             show this help\n"
      "  --version          show the version\n";
  return text;
}
