// SPDX-License-Identifier: GPL-2.0-or-later
// The benchmark's comparison program: statusanzeige-demo with a pause that
// polls the clock without ever sleeping, as a naive port would. Only the
// event pump differs from the real demo.
#include <QCoreApplication>

#include "emulator/demo.h"
#include "platform/qt/qt_main.h"

namespace {

// Processes pending events and returns at once, whatever the wait asked for.
class BusyPollEventPump final : public platform::EventPump {
 public:
  void ProcessEvents(double /*max_wait_seconds*/) override {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  BusyPollEventPump busy;
  return platform::RunOnLinux(argc, argv, platform::kStatusanzeigeDemo, emulator::RunDemo, &busy);
}
