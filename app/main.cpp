// statusanzeige: drives the real display on an IO-Warrior 24.
#include <QApplication>
#include <iostream>

#include "app/command_line.h"
#include "app/form1.h"
#include "app/start.h"
#include "platform/clock.h"
#include "platform/linux/iowarrior_linux.h"
#include "platform/linux/libsensors_sensors.h"
#include "platform/qt/qt_event_pump.h"

#ifndef STATUSANZEIGE_VERSION
#define STATUSANZEIGE_VERSION "unknown"
#endif

int main(int argc, char* argv[]) {
  const CommandLine line =
      ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), /*demo=*/false);
  if (!line.error.empty()) {
    std::cerr << "statusanzeige: " << line.error << "; " << UsageLine("statusanzeige", false)
              << '\n';
    return 2;
  }
  if (line.help) {
    std::cout << HelpText("statusanzeige", false);
    return 0;
  }
  if (line.version) {
    std::cout << "statusanzeige " << STATUSANZEIGE_VERSION << '\n';
    return 0;
  }

  QApplication application(argc, argv);
  auto kernel = platform::MakeLinuxIowarriorKernel();
  platform::LinuxIowkit iowkit(*kernel, std::cerr);
  platform::SystemClock clock;
  platform::QtEventPump events;
  platform::LibSensors sensors(std::cerr);
  Form1 form(iowkit, clock, events, sensors);
  return StartForm(form);
}
