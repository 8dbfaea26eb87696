// SPDX-License-Identifier: GPL-2.0-or-later
// controller-listed [SECONDS]: waits until the system lists an IO-Warrior 24
// pin interface among its HID interfaces, then prints its path and ends with
// status 0; status 1 when none comes within SECONDS (60 unless given). The
// driver-path test runs it under Wine before the program, so that the
// program does not start while Wine's HID stack is still taking a
// controller just plugged in.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/windows/hid_iowkit.h"

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
  const auto hid = platform::MakeWindowsHidSystem();
  for (int waited_ms = 0; waited_ms <= seconds * 1000; waited_ms += 250) {
    for (const std::string& path : hid->ListInterfaces()) {
      const platform::HidPathInfo named = platform::ParseHidPath(path);
      if (named.vendor == platform::kCodeMercenariesVendor &&
          named.product == platform::kIoWarrior24Product && named.interface_number == 0) {
        std::printf("%s\n", path.c_str());
        return 0;
      }
    }
    Sleep(250);
  }
  std::printf("no IO-Warrior 24 pin interface within %d s\n", seconds);
  return 1;
}
