// SPDX-License-Identifier: GPL-2.0-or-later
// The soak benchmark on Windows (bench/soak, under Wine): statusanzeige-demo
// --repeat with its Win32 windows, with peak and current memory, the open
// handles and the GDI and USER objects after runs 1, 10, 100 and 1,000.
#include <windows.h>
// After windows.h.
#include <psapi.h>

#include <string>
#include <vector>

#include "bench/soak.h"
#include "emulator/demo.h"
#include "platform/windows/win_main.h"

namespace {

// Wine counts neither handles nor GUI objects (it answers 0, which no
// Windows process has): bench/soak adds the Wine process's own file
// descriptors then.
std::string Count(const char* what, DWORD count) {
  return std::string(what) + " " + (count > 0 ? std::to_string(count) : std::string("n/a"));
}

std::string Counts() {
  DWORD handles = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &handles) == FALSE) handles = 0;
  return Count("handles", handles) + ", " +
         Count("GDI", GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) + ", " +
         Count("USER", GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
}

}  // namespace

int main() {
  soak::FastClock clock;
  soak::RunCountingSensors sensors([](int run) {
    if (soak::Checkpoint(run)) {
      PROCESS_MEMORY_COUNTERS memory{};
      memory.cb = sizeof memory;
      GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
      soak::PrintRow(run, static_cast<double>(memory.PeakWorkingSetSize) / 1048576.0,
                     static_cast<double>(memory.WorkingSetSize) / 1048576.0, Counts());
    }
    // The message pump closes the windows on a quit request.
    if (run == soak::kRuns) PostQuitMessage(0);
  });
  soak::SoakMachine machine(clock, sensors);
  platform::WinEventPump real;
  soak::FastPump pump(real, clock);
  soak::PrintHeader("handles and GUI objects");
  return platform::RunOnWindows(platform::kStatusanzeigeDemo, emulator::RunDemo, &pump, &machine,
                                std::vector<std::string>{soak::kArguments[0], soak::kArguments[1]});
}
