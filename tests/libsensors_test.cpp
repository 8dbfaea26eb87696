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

}  // namespace
