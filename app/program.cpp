// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/program.h"

#include "app/dot_matrix.h"
#include "app/form1.h"
#include "status/sensor_listing.h"

namespace app {
namespace {

// Passes the window's events on to Form1, then tells the program of the unload.
class ProgramEvents final : public platform::FormEvents {
 public:
  ProgramEvents(Form1& form, Program& program) : form_(form), program_(program) {}
  void AnzeigestartButton_Click() override { form_.AnzeigestartButton_Click(); }
  void Form_Unload() override {
    form_.Form_Unload();
    program_.Unloaded();
  }

 private:
  Form1& form_;
  Program& program_;
};

}  // namespace

int Run(Program& program, Platform& platform) {
  CommandLine line;
  if (const auto status = HandleCommandLine(platform.arguments, program.Demo(), platform.output,
                                            platform.reporter, &line)) {
    return *status;
  }
  if (line.sensors) {
    status::ListSensors(program.Sensors(line, platform.machine), platform.output);
    return 0;
  }
  if (!program.Prepare(line, platform.reporter) || !platform.windows.Start()) return 1;

  platform::WindowSystem& windows = platform.windows;
  windows.SetProgramIcon(dot_matrix::PaintProgramIcon);
  platform::Iowkit& iowkit = program.Controller(platform.machine);
  platform::Sensors& sensors = program.Sensors(line, platform.machine);
  Form1 form(iowkit, platform.machine.Clocks(), platform.events, sensors);
  ProgramEvents events(form, program);
  const auto window = windows.MakeFormWindow(events, Form1Layout());
  form.SetWindow(window.get());
  if (!form.Form_Load()) return 1;
  windows.CloseOnTermination(*window);
  window->Show();
  program.Shown(windows, *window);
  return windows.Run();
}

int RunStatusanzeige(Platform& platform) {
  Program statusanzeige;
  return Run(statusanzeige, platform);
}

}  // namespace app
