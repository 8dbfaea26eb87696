// statusanzeige-demo: the same program on an emulated IO-Warrior 24, with a
// second window that shows what the two SLG 2016 modules would show.
#include <QApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>

#include "app/command_line.h"
#include "app/form1.h"
#include "app/start.h"
#include "emulator/display_model.h"
#include "emulator/emulated_iowkit.h"
#include "emulator/emulated_sensors.h"
#include "emulator/qt/emulator_window.h"
#include "platform/clock.h"
#include "platform/linux/libsensors_sensors.h"
#include "platform/qt/qt_event_pump.h"

#ifndef STATUSANZEIGE_VERSION
#define STATUSANZEIGE_VERSION "unknown"
#endif

int main(int argc, char* argv[]) {
  const char* const program = "statusanzeige-demo";
  const CommandLine line =
      ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), /*demo=*/true);
  if (!line.error.empty()) {
    std::cerr << program << ": " << line.error << "; " << UsageLine(program, true) << '\n';
    return 2;
  }
  if (line.help) {
    std::cout << HelpText(program, true);
    return 0;
  }
  if (line.version) {
    std::cout << program << ' ' << STATUSANZEIGE_VERSION << '\n';
    return 0;
  }

  std::unique_ptr<std::FILE, int (*)(std::FILE*)> log_file(nullptr, std::fclose);
  if (!line.report_log.empty()) {
    log_file.reset(std::fopen(line.report_log.c_str(), "a"));
    if (!log_file) {
      std::cerr << program << ": cannot open report log " << line.report_log << ": "
                << std::strerror(errno) << '\n';
      return 1;
    }
  }
  std::optional<emulator::ReportLog> log;
  if (log_file) log.emplace(log_file.get(), emulator::EpochSeconds);

  QApplication application(argc, argv);
  platform::SystemClock clock;
  platform::QtEventPump events;
  std::unique_ptr<platform::Sensors> sensors;
  if (line.system_sensors) {
    sensors = std::make_unique<platform::LibSensors>(std::cerr);
  } else {
    sensors = std::make_unique<emulator::EmulatedSensors>(clock);
  }

  emulator::DisplayModel model;
  emulator::EmulatedIowkit iowkit(model);
  emulator::EmulatorWindow display(model);
  iowkit.SetReportListener([&](const std::uint8_t* report) {
    if (log) log->Write(report);
    display.Refresh();
  });

  Form1 form(iowkit, clock, events, *sensors);
  // Closing either window ends the program the same way.
  display.SetCloseListener([&] { form.close(); });
  form.SetUnloadListener([&] { display.close(); });
  return StartForm(form, [&] {
    display.move(form.frameGeometry().bottomLeft() + QPoint(0, 12));
    display.show();
  });
}
