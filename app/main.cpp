// statusanzeige: drives the real display on an IO-Warrior 24.
#include <QApplication>
#include <iostream>

#include "app/form1.h"
#include "platform/iowarrior_linux.h"
#include "platform/libsensors_sensors.h"
#include "platform/qt_event_pump.h"
#include "platform/clock.h"
#include "platform/termination_signals.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  auto kernel = platform::MakeLinuxIowarriorKernel();
  platform::LinuxIowkit iowkit(*kernel, std::cerr);
  platform::SystemClock clock;
  platform::QtEventPump events;
  platform::LibSensors sensors(std::cerr);

  Form1 form(iowkit, clock, events, sensors);
  if (!form.Form_Load()) return 1;
  platform::CloseOnTerminationSignals(&form);
  form.show();
  return QApplication::exec();
}
