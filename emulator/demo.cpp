// SPDX-License-Identifier: GPL-2.0-or-later
#include "emulator/demo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>

#include "app/command_line.h"
#include "app/program.h"
#include "emulator/display_model.h"
#include "emulator/display_view.h"
#include "emulator/emulated_iowkit.h"
#include "emulator/emulated_sensors.h"
#include "status/sensor_listing.h"

namespace emulator {

int RunDemo(platform::Toolkit& toolkit) {
  CommandLine line;
  if (const auto status = HandleCommandLine(kStatusanzeigeDemo, toolkit.Arguments(),
                                            toolkit.Output(), toolkit.Errors(), &line)) {
    return *status;
  }
  if (line.sensors) {
    std::unique_ptr<platform::Sensors> sensors;
    if (line.system_sensors) {
      sensors = toolkit.MachineSensors();
    } else {
      sensors = std::make_unique<EmulatedSensors>(toolkit.Clocks());
    }
    status::ListSensors(*sensors, toolkit.Output());
    return 0;
  }

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> log_file(nullptr, std::fclose);
  if (!line.report_log.empty()) {
    log_file.reset(std::fopen(line.report_log.c_str(), "a"));
    if (!log_file) {
      toolkit.Errors() << kStatusanzeigeDemo.name << ": cannot open report log " << line.report_log
                       << ": " << std::strerror(errno) << '\n'
                       << std::flush;
      return 1;
    }
  }
  std::optional<ReportLog> log;
  if (log_file) log.emplace(log_file.get(), EpochSeconds);

  if (!toolkit.Start()) return 1;
  std::unique_ptr<platform::Sensors> sensors;
  if (line.system_sensors) {
    sensors = toolkit.MachineSensors();
  } else {
    sensors = std::make_unique<EmulatedSensors>(toolkit.Clocks());
  }

  DisplayModel model;
  EmulatedIowkit iowkit(model);
  const DisplayView view(model);
  platform::FormWindow* form_window = nullptr;
  const auto display =
      toolkit.MakePaintedWindow({kEmulatorTitle, DisplayView::Width(), DisplayView::Height(),
                                 [&view](platform::Canvas& canvas) { view.Paint(canvas); },
                                 // Closing either window ends the program the same way.
                                 [&form_window] {
                                   if (form_window != nullptr) form_window->Close();
                                 }});
  iowkit.SetReportListener([&](const std::uint8_t* report) {
    if (log) log->Write(report);
    display->Refresh();
  });

  app::FormHooks hooks;
  hooks.shown = [&](platform::FormWindow& window) {
    form_window = &window;
    display->ShowBelow(window);
  };
  hooks.unloaded = [&] {
    form_window = nullptr;
    display->Close();
  };
  return app::RunForm(toolkit, iowkit, *sensors, hooks);
}

}  // namespace emulator
