// SPDX-License-Identifier: GPL-2.0-or-later
// The soak benchmark's parts, the same on both systems: the demo runs run
// after run (--repeat) with its emulated display, on a clock that jumps ahead
// whenever the program would wait, so a thousand runs (about 4.5 days of the
// program's time, midnights included) take minutes. Sensors that see each
// run begin tell the platform's main() when to take its figures and when
// to close the windows.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>

#include "emulator/display_model.h"
#include "emulator/emulated_iowkit.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/machine.h"
#include "platform/sensors.h"
#include "tests/fakes.h"

namespace soak {

inline constexpr int kRuns = 1000;
inline bool Checkpoint(int run) { return run == 1 || run == 10 || run == 100 || run == kRuns; }
// The program's arguments besides its name.
inline constexpr const char* kArguments[] = {"--repeat", "--system-sensors"};

class FastClock final : public platform::Clock {
 public:
  double SecondsSinceMidnight() override { return std::fmod(43200.25 + elapsed_, 86400.0); }
  double MonotonicSeconds() override { return 1000.0 + elapsed_; }
  void Advance(double seconds) {
    if (seconds > 0.0) elapsed_ += seconds;
  }

 private:
  double elapsed_ = 0.0;
};

// Processes what is pending on the real pump, then lets the time pass.
class FastPump final : public platform::EventPump {
 public:
  FastPump(platform::EventPump& real, FastClock& clock) : real_(real), clock_(clock) {}
  void ProcessEvents(double max_wait_seconds) override {
    real_.ProcessEvents(0.0);
    clock_.Advance(max_wait_seconds);
  }

 private:
  platform::EventPump& real_;
  FastClock& clock_;
};

// Steady readings, counting the runs.
class RunCountingSensors final : public platform::Sensors {
 public:
  // `finished(n)` once run n has ended (as run n + 1 begins).
  explicit RunCountingSensors(std::function<void(int)> finished) : finished_(std::move(finished)) {}
  std::int32_t Read(platform::Reading reading) override {
    return reading == platform::Reading::kCpuFan ? 3125 : 45;
  }
  void RunStarts() override {
    if (begun_ > 0) finished_(begun_);
    ++begun_;
  }
  [[nodiscard]] std::string Describe(platform::Reading /*reading*/) const override {
    return "soak";
  }

 private:
  std::function<void(int)> finished_;
  int begun_ = 0;
};

// The demo brings its own controller; the machine's is there but unused.
class SoakMachine final : public platform::Machine {
 public:
  SoakMachine(FastClock& clock, platform::Sensors& sensors) : clock_(clock), sensors_(sensors) {}
  platform::Clock& Clocks() override { return clock_; }
  platform::Iowkit& Controller() override { return unused_; }
  platform::Sensors& MachineSensors() override { return sensors_; }
  platform::MachineFacts& Facts() override { return facts_; }

 private:
  FastClock& clock_;
  platform::Sensors& sensors_;
  fakes::FakeFacts facts_;
  emulator::DisplayModel model_;
  emulator::EmulatedIowkit unused_{model_};
};

inline void PrintHeader(const char* counts) {
  std::printf("%-6s %12s %12s %s\n", "run", "peak MB", "now MB", counts);
  std::fflush(stdout);
}

inline void PrintRow(int run, double peak_mb, double now_mb, const std::string& counts) {
  std::printf("%-6d %12.1f %12.1f %s\n", run, peak_mb, now_mb, counts.c_str());
  std::fflush(stdout);
}

}  // namespace soak
