// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/program.h"

#include "app/command_line.h"
#include "app/dot_matrix.h"
#include "app/form1.h"
#include "status/sensor_listing.h"

namespace app {
namespace {

// Passes the window's events on to Form1, then tells the hooks.
class HookedEvents final : public platform::FormEvents {
 public:
  HookedEvents(Form1& form, const FormHooks& hooks) : form_(form), hooks_(hooks) {}
  void AnzeigestartButton_Click() override { form_.AnzeigestartButton_Click(); }
  void Form_Unload() override {
    form_.Form_Unload();
    if (hooks_.unloaded) hooks_.unloaded();
  }

 private:
  Form1& form_;
  const FormHooks& hooks_;
};

}  // namespace

int RunForm(platform::Toolkit& toolkit, platform::Iowkit& iowkit, platform::Sensors& sensors,
            const FormHooks& hooks) {
  toolkit.SetProgramIcon(dot_matrix::PaintProgramIcon);
  Form1 form(iowkit, toolkit.Clocks(), toolkit.Events(), sensors);
  HookedEvents events(form, hooks);
  const auto window = toolkit.MakeFormWindow(events, Form1Layout());
  form.SetWindow(window.get());
  if (!form.Form_Load()) return 1;
  toolkit.CloseOnTermination(*window);
  window->Show();
  if (hooks.shown) hooks.shown(*window);
  return toolkit.Run();
}

int RunStatusanzeige(platform::Toolkit& toolkit) {
  CommandLine line;
  if (const auto status = HandleCommandLine(kStatusanzeige, toolkit.Arguments(), toolkit.Output(),
                                            toolkit.Errors(), &line)) {
    return *status;
  }
  if (line.sensors) {
    status::ListSensors(*toolkit.MachineSensors(), toolkit.Output());
    return 0;
  }
  if (!toolkit.Start()) return 1;
  const auto iowkit = toolkit.Controller();
  const auto sensors = toolkit.MachineSensors();
  return RunForm(toolkit, *iowkit, *sensors);
}

}  // namespace app
