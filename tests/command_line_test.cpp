// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

constexpr Accepts kPlain{};
constexpr Accepts kDemo{true, false};
constexpr Accepts kLinux{false, true};

TEST(CommandLine, OnlyTheKnownArgumentsAreTaken) {
  EXPECT_TRUE(ParseCommandLine({"--help"}, kPlain)->help);
  EXPECT_TRUE(ParseCommandLine({"--version"}, kPlain)->version);
  EXPECT_FALSE(ParseCommandLine({"--system-sensors"}, kPlain)) << "demo only";
  EXPECT_EQ(ParseCommandLine({"extra"}, kPlain).Error().text, "unknown argument 'extra'");
  const auto demo = ParseCommandLine({"--system-sensors", "--report-log", "r.log"}, kDemo);
  ASSERT_TRUE(demo);
  EXPECT_TRUE(demo->system_sensors);
  EXPECT_EQ(demo->report_log, "r.log");
  EXPECT_EQ(ParseCommandLine({"--report-log=x.log"}, kDemo)->report_log, "x.log");
  EXPECT_EQ(ParseCommandLine({"--texts=a.toml", "--check-texts"}, kPlain)->texts, "a.toml");
  EXPECT_TRUE(ParseCommandLine({"--check-texts"}, kPlain)->check_texts);
  // No file name, in either spelling, is a mistake.
  for (const std::string option : {"--report-log", "--texts"}) {
    for (const auto& arguments :
         std::vector<std::vector<std::string>>{{option}, {option, ""}, {option + "="}}) {
      const auto line = ParseCommandLine(arguments, kDemo);
      ASSERT_FALSE(line) << arguments.back();
      EXPECT_EQ(line.Error().text, option + " needs a file name") << arguments.back();
    }
  }
  EXPECT_TRUE(ParseCommandLine({"--sensors"}, kPlain)->sensors);
  EXPECT_TRUE(ParseCommandLine({"--system-sensors", "--sensors"}, kDemo)->sensors);
  // Unattended: each option implies those before it.
  const auto no_window = ParseCommandLine({"--no-window"}, kLinux);
  EXPECT_TRUE(no_window->no_window && no_window->repeat && no_window->start);
  const auto repeat = ParseCommandLine({"--repeat", "--minimized"}, kPlain);
  EXPECT_TRUE(repeat->repeat && repeat->start && repeat->minimized && !repeat->no_window);
  EXPECT_FALSE(ParseCommandLine({"--no-window"}, kPlain)) << "only where the platform has it";
  EXPECT_EQ(UsageLine("statusanzeige", kLinux),
            "Usage: statusanzeige [--help] [--version] [--sensors] [--texts FILE] "
            "[--check-texts] [--start] [--repeat] [--no-window] [--minimized]");
}

TEST(CommandLine, TheWindowlessBuildRunsUnattendedAndRefusesTheWindowsOptions) {
  constexpr Accepts kWindowless{false, false, false};
  const auto none = ParseCommandLine({}, kWindowless);
  EXPECT_TRUE(none->no_window && none->repeat && none->start);
  EXPECT_TRUE(ParseCommandLine({"--no-window"}, kWindowless))
      << "as a unit for either build has it";
  for (const std::string option : {"--start", "--repeat", "--minimized"}) {
    EXPECT_EQ(ParseCommandLine({option}, kWindowless).Error().text,
              option +
                  " needs a window, and this is the window-less build: it runs run after run "
                  "until SIGINT or SIGTERM");
  }
  EXPECT_EQ(UsageLine("statusanzeige", kWindowless),
            "Usage: statusanzeige [--help] [--version] [--sensors] [--texts FILE] "
            "[--check-texts] [--no-window]");
  const std::string help = HelpText("statusanzeige-demo", {true, false, false});
  EXPECT_NE(help.find("shown in the report log alone"), std::string::npos) << help;
  EXPECT_NE(help.find("This is the window-less build"), std::string::npos) << help;
  EXPECT_EQ(help.find("--minimized"), std::string::npos) << help;
}

TEST(CommandLine, HelpVersionAndMistakesEndTheProgramWithTheirStatus) {
  const auto handle = [](std::string_view program, const Accepts& accepts,
                         const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream errors;
    platform::Reporter reporter(program, errors);
    CommandLine line;
    const auto status = HandleCommandLine(arguments, accepts, out, reporter, &line);
    return std::make_tuple(status, out.str(), errors.str());
  };
  EXPECT_EQ(handle("statusanzeige", kPlain, {}), std::make_tuple(std::optional<int>(), "", ""));
  EXPECT_EQ(handle("statusanzeige-demo", kDemo, {"--version"}),
            std::make_tuple(std::optional<int>(0), "statusanzeige-demo 1.0.0\n", ""));
  const auto [status, out, errors] = handle("statusanzeige-demo", kDemo, {"--bogus"});
  EXPECT_EQ(status, 2);
  EXPECT_EQ(errors,
            "statusanzeige-demo: unknown argument '--bogus'; Usage: statusanzeige-demo [--help] "
            "[--version] [--sensors] [--texts FILE] [--check-texts] [--start] [--repeat] "
            "[--minimized] [--system-sensors] [--report-log FILE]\n");
  const auto help = std::get<1>(handle("statusanzeige", kPlain, {"--help"}));
  EXPECT_EQ(help.rfind("Usage: statusanzeige [--help]", 0), 0U);
  EXPECT_EQ(help.find("--report-log"), std::string::npos) << "the demo's options are its own";
  // --help wins over --version, whichever comes first.
  EXPECT_EQ(std::get<1>(handle("statusanzeige", kPlain, {"--version", "--help"})), help);
  EXPECT_EQ(std::get<1>(handle("statusanzeige", kPlain, {"--help", "--version"})), help);
}

}  // namespace
