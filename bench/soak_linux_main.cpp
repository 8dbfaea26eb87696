// SPDX-License-Identifier: GPL-2.0-or-later
// The soak benchmark on Linux (bench/soak): statusanzeige-demo --repeat under
// Qt, with peak and current memory and the open file descriptors after runs
// 1, 10, 100 and 1,000.
#include <dirent.h>

#include <QApplication>
#include <fstream>
#include <string>

#include "bench/soak.h"
#include "emulator/demo.h"
#include "platform/qt/qt_main.h"

namespace {

double StatusMegabytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) / 1024.0;
  }
  return -1.0;
}

int OpenDescriptors() {
  DIR* fds = ::opendir("/proc/self/fd");
  if (fds == nullptr) return -1;
  int count = 0;
  while (::readdir(fds) != nullptr) ++count;
  ::closedir(fds);
  return count - 3;  // ".", ".." and the listing's own
}

}  // namespace

int main(int argc, char* argv[]) {
  soak::FastClock clock;
  soak::RunCountingSensors sensors([](int run) {
    if (soak::Checkpoint(run)) {
      soak::PrintRow(run, StatusMegabytes("VmHWM"), StatusMegabytes("VmRSS"),
                     "fds " + std::to_string(OpenDescriptors()));
    }
    if (run == soak::kRuns) QApplication::closeAllWindows();
  });
  soak::SoakMachine machine(clock, sensors);
  platform::QtEventPump real;
  soak::FastPump pump(real, clock);
  char* arguments[] = {argc > 0 ? argv[0] : nullptr, const_cast<char*>(soak::kArguments[0]),
                       const_cast<char*>(soak::kArguments[1]), nullptr};
  soak::PrintHeader("open file descriptors");
  return platform::RunOnLinux(3, arguments, platform::kStatusanzeigeDemo, emulator::RunDemo, &pump,
                              &machine);
}
