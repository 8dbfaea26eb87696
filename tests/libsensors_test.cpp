// SPDX-License-Identifier: GPL-2.0-or-later
// Runs the libsensors code against a fake hwmon tree: a child process gets a
// private mount namespace with a tmpfs over /sys/class, so the machine's own
// sensors stay out of it. Needs root (or CAP_SYS_ADMIN); skips otherwise.
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/linux/libsensors_sensors.h"
#include "status/sensor_listing.h"

namespace {

namespace fs = std::filesystem;

struct ChildResult {
  bool skipped = false;
  std::string output;
};

// Runs `body` in a child with an empty tmpfs on /sys/class; returns what it wrote.
ChildResult InFakeSysfs(const std::function<void(std::ostream&)>& body) {
  int pipe_fds[2];
  if (::pipe(pipe_fds) != 0) return {true, "pipe failed"};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipe_fds[0]);
    std::ostringstream out;
    if (::unshare(CLONE_NEWNS) != 0 ||
        ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", "/sys/class", "tmpfs", 0, "mode=0755") != 0) {
      out << "SKIP " << std::strerror(errno);
    } else {
      body(out);
    }
    const std::string text = out.str();
    [[maybe_unused]] auto n = ::write(pipe_fds[1], text.data(), text.size());
    ::_exit(0);
  }
  ::close(pipe_fds[1]);
  std::string output;
  char buffer[4096];
  for (ssize_t n = 0; (n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipe_fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (output.rfind("SKIP ", 0) == 0) return {true, output};
  return {false, output};
}

void WriteAttributes(const fs::path& dir,
                     const std::vector<std::pair<std::string, std::string>>& attributes) {
  fs::create_directories(dir);
  for (const auto& [name, value] : attributes) std::ofstream(dir / name) << value << '\n';
}

void ReadAll(platform::Sensors& s, std::ostream& out) {
  for (const auto& info : platform::kReadings) {
    out << s.Read(info.reading) << (info.reading == platform::Reading::kCpuFan ? "" : " ");
  }
  out << '\n';
}

TEST(LibSensors, ReadsAnNct6798ThroughSensorsConfLabelsAndComputeLines) {
  const fs::path config = fs::temp_directory_path() / ("sensors-" + std::to_string(::getpid()));
  std::ofstream(config) << "chip \"nct6798-*\"\n"
                           "  label in0 \"Vcore\"\n"
                           "  label in1 \"+5V\"\n"
                           "  compute in1 @*5, @/5\n"
                           "  label in3 \"+3.3V\"\n"
                           "  label in4 \"+12V\"\n"
                           "  compute in4 @*12, @/12\n"
                           "  label fan2 \"CPU Fan\"\n";
  const ChildResult result = InFakeSysfs([&](std::ostream& out) {
    WriteAttributes("/sys/class/hwmon/hwmon0",
                    {{"name", "k10temp"}, {"temp1_input", "61250"}, {"temp1_label", "Tctl"}});
    WriteAttributes("/sys/class/hwmon/hwmon1", {{"name", "nct6798"},
                                                {"in0_input", "1352"},
                                                {"in1_input", "1024"},
                                                {"in3_input", "3344"},
                                                {"in4_input", "1016"},
                                                {"in7_input", "3392"},
                                                {"temp1_input", "35000"},
                                                {"temp1_label", "SYSTIN"},
                                                {"temp2_input", "47500"},
                                                {"temp2_label", "CPUTIN"},
                                                {"fan1_input", "0"},
                                                {"fan2_input", "2812"}});
    std::ostringstream errors;
    platform::LibSensors sensors(errors, "statusanzeige", config.string());
    ReadAll(sensors, out);
    out << sensors.Describe(platform::Reading::kRail12V) << '\n';
    out << "errors:" << errors.str();
  });
  fs::remove(config);
  if (result.skipped) GTEST_SKIP() << "no private mount namespace here: " << result.output;
  // CPUTIN carries "CPU" and wins over k10temp's Tctl; 47.5 rounds to 48.
  EXPECT_EQ(result.output,
            "48 35 1352 3344 5120 12192 2812\n"
            "nct6798-virtual-0 in4 (+12V)\n"
            "errors:");
}

TEST(LibSensors, ValuesBeyondSixteenBitsAreClampedNotWrapped) {
  const fs::path config = fs::temp_directory_path() / ("clamp-" + std::to_string(::getpid()));
  std::ofstream(config) << "chip \"nct6798-*\"\n"
                           "  label in0 \"Vcore\"\n"
                           "  label in4 \"+12V\"\n"
                           "  compute in4 @*40, @/40\n"
                           "  label fan1 \"CPU Fan\"\n";
  const ChildResult result = InFakeSysfs([&](std::ostream& out) {
    WriteAttributes("/sys/class/hwmon/hwmon0", {{"name", "nct6798"},
                                                {"in0_input", "32768"},
                                                {"in4_input", "1000"},
                                                {"temp1_input", "-40000000"},
                                                {"temp1_label", "CPUTIN"},
                                                {"temp2_input", "-32768000"},
                                                {"temp2_label", "SYSTIN"},
                                                {"fan1_input", "70000"}});
    std::ostringstream errors;
    platform::LibSensors sensors(errors, "statusanzeige", config.string());
    ReadAll(sensors, out);
  });
  fs::remove(config);
  if (result.skipped) GTEST_SKIP() << "no private mount namespace here: " << result.output;
  EXPECT_EQ(result.output, "-32768 -32768 32767 0 0 32767 32767\n");
}

TEST(LibSensors, MissingSensorsReadAsZeroWithOneLineEach) {
  const fs::path config = fs::temp_directory_path() / ("empty-" + std::to_string(::getpid()));
  std::ofstream(config) << "# nothing\n";
  const ChildResult result = InFakeSysfs([&](std::ostream& out) {
    WriteAttributes(
        "/sys/class/hwmon/hwmon0",
        {{"name", "coretemp"}, {"temp1_input", "52000"}, {"temp1_label", "Package id 0"}});
    std::ostringstream errors;
    platform::LibSensors sensors(errors, "statusanzeige", config.string());
    ReadAll(sensors, out);
    ReadAll(sensors, out);
    out << errors.str();
  });
  fs::remove(config);
  if (result.skipped) GTEST_SKIP() << "no private mount namespace here: " << result.output;
  EXPECT_EQ(result.output,
            "52 0 0 0 0 0 0\n"
            "52 0 0 0 0 0 0\n"
            "statusanzeige: no sensor for the motherboard temperature, showing 0\n"
            "statusanzeige: no sensor for the CPU core voltage, showing 0\n"
            "statusanzeige: no sensor for the 3.3 V rail, showing 0\n"
            "statusanzeige: no sensor for the 5 V rail, showing 0\n"
            "statusanzeige: no sensor for the 12 V rail, showing 0\n"
            "statusanzeige: no sensor for the CPU fan speed, showing 0\n");
}

TEST(LibSensors, AnUnreadableConfigurationMeansNoSensorsAndNoCrash) {
  std::ostringstream errors;
  platform::LibSensors sensors(errors, "statusanzeige", "/nonexistent/sensors3.conf");
  std::ostringstream out;
  ReadAll(sensors, out);
  EXPECT_EQ(out.str(), "0 0 0 0 0 0 0\n");
  EXPECT_EQ(errors.str().rfind("statusanzeige: cannot read sensor configuration", 0), 0U);
  EXPECT_NE(errors.str().find("no sensor for the CPU temperature"), std::string::npos);
}

// The two chips of a desktop board as the kernel shows them, before any label
// of sensors.conf.
void WriteDesktopBoard() {
  WriteAttributes("/sys/class/hwmon/hwmon0",
                  {{"name", "k10temp"}, {"temp1_input", "61250"}, {"temp1_label", "Tctl"}});
  WriteAttributes("/sys/class/hwmon/hwmon1", {{"name", "nct6798"},
                                              {"in0_input", "1352"},
                                              {"in1_input", "1024"},
                                              {"in3_input", "3344"},
                                              {"in4_input", "1016"},
                                              {"temp1_input", "35000"},
                                              {"temp1_label", "SYSTIN"},
                                              {"fan1_input", "0"},
                                              {"fan2_input", "2812"}});
}

TEST(LibSensors, TheListingShowsChipFeatureAndLabelOfEachReadingWithASensorsConfLabel) {
  // The user has told lm-sensors which fan is the CPU's.
  const fs::path config = fs::temp_directory_path() / ("listing-" + std::to_string(::getpid()));
  std::ofstream(config) << "chip \"nct6798-*\"\n  label fan2 \"CPU Fan\"\n";
  const ChildResult result = InFakeSysfs([&](std::ostream& out) {
    WriteDesktopBoard();
    std::ostringstream errors;
    platform::LibSensors sensors(errors, "statusanzeige", config.string());
    status::ListSensors(sensors, out);
    out << "errors:" << errors.str();
  });
  fs::remove(config);
  if (result.skipped) GTEST_SKIP() << "no private mount namespace here: " << result.output;
  EXPECT_EQ(result.output,
            "reading                  now         shown   source\n"
            "CPU temperature          61 \xC2\xB0"
            "C       61      k10temp-virtual-0 temp1 (Tctl)\n"
            "motherboard temperature  35 \xC2\xB0"
            "C       35      nct6798-virtual-0 temp1 (SYSTIN)\n"
            "CPU core voltage         1352 mV     1,35    nct6798-virtual-0 in0 (in0)\n"
            "3.3 V rail               0 mV        0,      none, shows 0\n"
            "5 V rail                 0 mV        0,      none, shows 0\n"
            "12 V rail                0 mV        0,      none, shows 0\n"
            "CPU fan speed            2812 rpm    2812    nct6798-virtual-0 fan2 (CPU Fan)\n"
            "errors:statusanzeige: no sensor for the 3.3 V rail, showing 0\n"
            "statusanzeige: no sensor for the 5 V rail, showing 0\n"
            "statusanzeige: no sensor for the 12 V rail, showing 0\n");
}

TEST(LibSensors, TheProgramListsItsSensorsWithoutAWindowSystem) {
  const ChildResult result = InFakeSysfs([&](std::ostream& out) {
    WriteDesktopBoard();
    // No display of any kind: --sensors needs none.
    const std::string command =
        std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ") +
        STATUSANZEIGE_PROGRAM + " --sensors 2>/dev/null; echo status $?";
    FILE* program = ::popen(command.c_str(), "r");
    char buffer[512];
    for (std::size_t n = 0; (n = std::fread(buffer, 1, sizeof buffer, program)) > 0;) {
      out.write(buffer, static_cast<std::streamsize>(n));
    }
    ::pclose(program);
  });
  if (result.skipped) GTEST_SKIP() << "no private mount namespace here: " << result.output;
  EXPECT_EQ(result.output.rfind("reading ", 0), 0U) << result.output;
  EXPECT_NE(result.output.find("CPU temperature          61 \xC2\xB0"
                               "C       61      "
                               "k10temp-virtual-0 temp1 (Tctl)\n"),
            std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("CPU core voltage         1352 mV     1,35    "), std::string::npos)
      << result.output;
  EXPECT_EQ(result.output.substr(result.output.size() - 9), "status 0\n") << result.output;
}

}  // namespace
