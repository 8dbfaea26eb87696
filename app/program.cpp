// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/program.h"

#include "app/dot_matrix.h"
#include "app/form1.h"
#include "status/sensor_listing.h"
#include "status/texts_file.h"

namespace app {
namespace {

// Passes the window's events on to Form1, then tells the program of the unload.
class ProgramEvents final : public platform::FormEvents {
 public:
  ProgramEvents(Form1& form, Program& program) : form_(form), program_(program) {}
  void AnzeigestartButton_Click() override { form_.AnzeigestartButton_Click(); }
  void Form_Unload() override {
    if (unloaded_) return;
    unloaded_ = true;
    form_.Form_Unload();
    program_.Unloaded();
  }

 private:
  Form1& form_;
  Program& program_;
  bool unloaded_ = false;
};

// --no-window: Form1 without a window, run after run until a termination
// request unloads it.
int RunWithoutWindow(Program& program, Platform& platform, const CommandLine& line,
                     status::TextsSource& texts) {
  platform::Windowless& windowless = *platform.windowless;
  Form1 form(program.Controller(platform.machine), platform.machine.Clocks(), windowless.Events(),
             program.Sensors(line, platform.machine));
  form.SetTexts(&texts);
  if (!form.Form_Load()) {
    platform.reporter.Say(kNoDeviceText);
    return 1;
  }
  ProgramEvents events(form, program);
  windowless.OnTermination([&events] { events.Form_Unload(); });
  form.SetRepeat(true);
  form.AnzeigestartButton_Click();
  // The runs end with the unload alone; were they to end otherwise, the link
  // is closed all the same.
  events.Form_Unload();
  return 0;
}

}  // namespace

int Run(Program& program, Platform& platform) {
  CommandLine line;
  if (const auto status = HandleCommandLine(
          platform.arguments,
          {program.Demo(), platform.windowless != nullptr, platform.windows != nullptr},
          platform.output, platform.reporter, &line)) {
    return *status;
  }
  if (line.sensors) {
    status::ListSensors(program.Sensors(line, platform.machine), platform.output);
    return 0;
  }
  platform::MachineFacts& facts = platform.machine.Facts();
  status::TextsSource texts(line.texts, facts.TextsFilePlaces(), facts, platform.reporter);
  if (line.check_texts) {
    return status::CheckTexts(texts, program.Sensors(line, platform.machine), platform.output,
                              platform.reporter);
  }
  // A texts file that cannot be used keeps the program from starting.
  const std::optional<std::string> texts_problem = texts.Load();
  if (texts_problem && line.no_window) {
    platform.reporter.Say(*texts_problem);
    return 1;
  }
  if (!program.Prepare(line, platform.reporter)) return 1;
  if (line.no_window) return RunWithoutWindow(program, platform, line, texts);
  platform::WindowSystem& windows = *platform.windows;
  if (!windows.Start()) return 1;

  windows.SetProgramIcon(dot_matrix::PaintProgramIcon);
  platform::Iowkit& iowkit = program.Controller(platform.machine);
  platform::Sensors& sensors = program.Sensors(line, platform.machine);
  Form1 form(iowkit, platform.machine.Clocks(), platform.events, sensors);
  form.SetRepeat(line.repeat);
  form.SetTexts(&texts);
  ProgramEvents events(form, program);
  const auto window = windows.MakeFormWindow(events, Form1Layout());
  form.SetWindow(window.get());
  if (texts_problem) {
    window->ShowMessageBox(kNoDeviceTitle, *texts_problem);
    platform.reporter.Say(*texts_problem);
    return 1;
  }
  if (!form.Form_Load()) return 1;
  windows.CloseOnTermination(*window);
  if (line.minimized) {
    window->ShowMinimized();
  } else {
    window->Show();
  }
  program.Shown(windows, *window);
  if (line.start) window->ClickLater();
  return windows.Run();
}

int RunStatusanzeige(Platform& platform) {
  Program statusanzeige;
  return Run(statusanzeige, platform);
}

}  // namespace app
