// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(CommandLine, OnlyTheKnownArgumentsAreTaken) {
  EXPECT_TRUE(ParseCommandLine({"--help"}, false)->help);
  EXPECT_TRUE(ParseCommandLine({"--version"}, false)->version);
  EXPECT_FALSE(ParseCommandLine({"--system-sensors"}, false)) << "demo only";
  EXPECT_EQ(ParseCommandLine({"extra"}, false).Error().text, "unknown argument 'extra'");
  const auto demo = ParseCommandLine({"--system-sensors", "--report-log", "r.log"}, true);
  ASSERT_TRUE(demo);
  EXPECT_TRUE(demo->system_sensors);
  EXPECT_EQ(demo->report_log, "r.log");
  EXPECT_EQ(ParseCommandLine({"--report-log=x.log"}, true)->report_log, "x.log");
  // No file name, in either spelling, is a mistake.
  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"--report-log"}, {"--report-log", ""}, {"--report-log="}}) {
    const auto line = ParseCommandLine(arguments, true);
    ASSERT_FALSE(line) << arguments.back();
    EXPECT_EQ(line.Error().text, "--report-log needs a file name") << arguments.back();
  }
  EXPECT_TRUE(ParseCommandLine({"--sensors"}, false)->sensors);
  EXPECT_TRUE(ParseCommandLine({"--system-sensors", "--sensors"}, true)->sensors);
  EXPECT_EQ(UsageLine("statusanzeige", false),
            "Usage: statusanzeige [--help] [--version] [--sensors]");
}

TEST(CommandLine, HelpVersionAndMistakesEndTheProgramWithTheirStatus) {
  const auto handle = [](std::string_view program, bool demo,
                         const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream errors;
    platform::Reporter reporter(program, errors);
    CommandLine line;
    const auto status = HandleCommandLine(arguments, demo, out, reporter, &line);
    return std::make_tuple(status, out.str(), errors.str());
  };
  EXPECT_EQ(handle("statusanzeige", false, {}), std::make_tuple(std::optional<int>(), "", ""));
  EXPECT_EQ(handle("statusanzeige-demo", true, {"--version"}),
            std::make_tuple(std::optional<int>(0), "statusanzeige-demo 1.0.0\n", ""));
  const auto [status, out, errors] = handle("statusanzeige-demo", true, {"--bogus"});
  EXPECT_EQ(status, 2);
  EXPECT_EQ(errors,
            "statusanzeige-demo: unknown argument '--bogus'; Usage: statusanzeige-demo [--help] "
            "[--version] [--sensors] [--system-sensors] [--report-log FILE]\n");
  const auto help = std::get<1>(handle("statusanzeige", false, {"--help"}));
  EXPECT_EQ(help.rfind("Usage: statusanzeige [--help]", 0), 0U);
  EXPECT_EQ(help.find("--report-log"), std::string::npos) << "the demo's options are its own";
  // --help wins over --version, whichever comes first.
  EXPECT_EQ(std::get<1>(handle("statusanzeige", false, {"--version", "--help"})), help);
  EXPECT_EQ(std::get<1>(handle("statusanzeige", false, {"--help", "--version"})), help);
}

}  // namespace
