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

#include "fakes.h"
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

// Writes a tree of tests/data/hwmon ("hwmonN/attribute value" lines) below
// /sys/class/hwmon.
void WriteTree(const std::string& name) {
  std::istringstream lines(fakes::DataFile("hwmon/" + name + ".tree"));
  for (std::string line; std::getline(lines, line);) {
    const std::size_t blank = line.find(' ');
    const fs::path file = fs::path("/sys/class/hwmon") / line.substr(0, blank);
    fs::create_directories(file.parent_path());
    std::ofstream(file) << line.substr(blank + 1) << '\n';
  }
}

std::string ReadAll(platform::Sensors& s) {
  std::string all;
  for (const auto& info : platform::kReadings) {
    if (!all.empty()) {
      all += ' ';
    }
    all += std::to_string(s.Read(info.reading));
  }
  return all;
}

// Each tree of tests/data/hwmon, read through libsensors with its
// sensors.conf: the listing, the readings once more, and what was said.
TEST(LibSensors, EachTreeListsAndReadsAsItsStdoutSays) {
  int trees = 0;
  for (const auto& entry :
       fs::directory_iterator(std::string(STATUSANZEIGE_TEST_DATA) + "/hwmon")) {
    if (entry.path().extension() != ".tree") continue;
    const std::string name = entry.path().stem().string();
    ++trees;
    const fs::path config = fs::temp_directory_path() / ("sensors-" + std::to_string(::getpid()));
    // A tree without a NAME.conf is read with an empty one.
    std::ofstream(config) << fakes::DataFile("hwmon/" + name + ".conf");
    const ChildResult result = InFakeSysfs([&](std::ostream& out) {
      WriteTree(name);
      fakes::Said errors;
      platform::LibSensors sensors(errors.reporter, config.string());
      status::ListSensors(sensors, out);
      out << "again: " << ReadAll(sensors) << '\n' << errors.str();
    });
    fs::remove(config);
    if (result.skipped) GTEST_SKIP() << "no private mount namespace here: " << result.output;
    EXPECT_EQ(result.output, fakes::DataFile("hwmon/" + name + ".stdout")) << name;
  }
  EXPECT_GE(trees, 10);
}

TEST(LibSensors, AnUnreadableConfigurationMeansNoSensorsAndNoCrash) {
  fakes::Said errors;
  platform::LibSensors sensors(errors.reporter, "/nonexistent/sensors3.conf");
  EXPECT_EQ(ReadAll(sensors), "0 0 0 0 0 0 0");
  EXPECT_EQ(errors.str().rfind("statusanzeige: cannot read sensor configuration", 0), 0U);
  EXPECT_NE(errors.str().find("no sensor for the CPU temperature"), std::string::npos);
}

TEST(LibSensors, TheProgramListsItsSensorsWithoutAWindowSystem) {
  const ChildResult result = InFakeSysfs([&](std::ostream& out) {
    WriteTree("desktop_fan_label");
    // No display of any kind: --sensors needs none.
    const std::string command =
        std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " STATUSANZEIGE_EMULATOR
                    " ") +
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
                               "k10temp-virtual-0 temp1 (Tctl) \xE2\x80\x94 AMD CPU control "
                               "sensor\n"),
            std::string::npos)
      << result.output;
  EXPECT_NE(result.output.find("CPU core voltage         1352 mV     1,35    "), std::string::npos)
      << result.output;
  EXPECT_EQ(result.output.substr(result.output.size() - 9), "status 0\n") << result.output;
}

}  // namespace
