// SPDX-License-Identifier: GPL-2.0-or-later
// The programs' start-up and event loop, one sequence on every platform and
// for both programs. Each platform's main() assembles a Platform and calls
// Run (or RunStatusanzeige).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "platform/event_pump.h"
#include "platform/iowkit.h"
#include "platform/machine.h"
#include "platform/reporter.h"
#include "platform/sensors.h"
#include "platform/window.h"
#include "platform/window_system.h"
#include "platform/windowless.h"

namespace app {

// What a program runs on. The parts are separate, so that a test or a
// benchmark replaces one (the event pump, say) and keeps the others.
struct Platform {
  std::vector<std::string> arguments;  // after the program's name, UTF-8
  std::ostream& output;                // --help, --version, --sensors
  platform::Reporter& reporter;        // every message
  platform::Machine& machine;
  // None in the window-less build, which runs as --no-window always (and
  // so has `windowless` below).
  platform::WindowSystem* windows = nullptr;
  platform::EventPump& events;  // the pauses' event processing
  // Running with no window system (--no-window); none where the platform
  // has no such mode.
  platform::Windowless* windowless = nullptr;
};

// Where the programs differ: statusanzeige is this class as it stands; the
// demo (emulator/) puts in an emulated controller, its own sensors and a
// second window.
class Program {
 public:
  virtual ~Program() = default;

  // Whether the command line takes the demo's options.
  [[nodiscard]] virtual bool Demo() const { return false; }
  // After the command line, before the window system starts. False ends the
  // program with status 1 (after saying why).
  virtual bool Prepare(const CommandLine& /*line*/, platform::Reporter& /*reporter*/) {
    return true;
  }
  virtual platform::Iowkit& Controller(platform::Machine& machine) { return machine.Controller(); }
  virtual platform::Sensors& Sensors(const CommandLine& /*line*/, platform::Machine& machine) {
    return machine.MachineSensors();
  }
  // After the main window has appeared (never with --no-window), and after
  // it has unloaded (the device link is closed then).
  virtual void Shown(platform::WindowSystem& /*windows*/, platform::FormWindow& /*window*/) {}
  virtual void Unloaded() {}
};

// Takes the command line (--help, --version, --sensors and --check-texts end
// the program at once, without a window system), reads the texts file (one
// that cannot be used ends the program with status 1, after an error box
// where there would be a window), starts the window system and loads Form1:
// without a device it shows the error box and returns 1, else it shows the
// window (minimized with --minimized), clicks its button with --start or
// --repeat, and runs the event loop until the window has closed (returns 0).
// With --no-window there is no window system: without a device it says so
// and returns 1, else it runs run after run until a termination request,
// then closes the device link and returns 0.
int Run(Program& program, Platform& platform);

// statusanzeige: the machine's controller and sensors.
int RunStatusanzeige(Platform& platform);

}  // namespace app
