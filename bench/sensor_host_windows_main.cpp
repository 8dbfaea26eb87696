// SPDX-License-Identifier: GPL-2.0-or-later
// What a failing sensor function costs (bench/wine-sensor-host, under Wine):
// with a stand-in Asus.dll whose GetVoltIN2 crashes or hangs, the time of a
// reading that starts the sensor host, of the failing call, and of the next
// reading, which starts the host again; ROUNDS times, median and maximum.
//   statusanzeige-sensor-host-bench LIBRARY HOST_FOLDER [ROUNDS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/reporter.h"
#include "platform/windows/asus_sensors.h"
#include "platform/windows/text.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// The time of one reading, in milliseconds.
double Timed(platform::Sensors& sensors, platform::Reading reading) {
  LARGE_INTEGER before;
  LARGE_INTEGER after;
  QueryPerformanceCounter(&before);
  sensors.Read(reading);
  QueryPerformanceCounter(&after);
  return Milliseconds(before, after);
}

void Print(const char* what, std::vector<double> times) {
  std::sort(times.begin(), times.end());
  std::printf("%-44s median %7.1f ms, max %7.1f ms\n", what, times[times.size() / 2], times.back());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: statusanzeige-sensor-host-bench LIBRARY HOST_FOLDER [ROUNDS]\n";
    return 2;
  }
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 20;
  std::vector<double> first;
  std::vector<double> failed;
  std::vector<double> again;
  std::ostringstream said;
  platform::Reporter reporter("statusanzeige", said);
  platform::SystemClock clock;
  for (int round = 0; round < rounds; ++round) {
    platform::AsusDllSensors sensors(reporter, clock, platform::Widen(argv[1]),
                                     platform::Widen(argv[2]));
    first.push_back(Timed(sensors, platform::Reading::kCoreVoltage));
    failed.push_back(Timed(sensors, platform::Reading::kRail3V3));
    again.push_back(Timed(sensors, platform::Reading::kRail5V));
  }
  Print("a reading that starts the host", first);
  Print("the failing call, and the host ended", failed);
  Print("the next reading, on a host started again", again);
  std::cerr << said.str();
  return 0;
}
