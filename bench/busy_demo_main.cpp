// SPDX-License-Identifier: GPL-2.0-or-later
// The benchmark's comparison program: statusanzeige-demo with a pause that
// polls the clock without ever sleeping, as a naive port would. Only the
// event pump differs from the real demo.
#include <QCoreApplication>

#include "emulator/demo.h"
#include "platform/qt/qt_toolkit.h"

namespace {

// Processes pending events and returns at once, whatever the wait asked for.
class BusyPollEventPump final : public platform::EventPump {
 public:
  void ProcessEvents(double /*max_wait_seconds*/) override {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
  }
};

// The Qt toolkit with the busy-polling pump in place of its own.
class BusyPollToolkit final : public platform::Toolkit {
 public:
  BusyPollToolkit(int& argc, char** argv) : qt_(argc, argv, "statusanzeige-demo") {}
  [[nodiscard]] std::vector<std::string> Arguments() const override { return qt_.Arguments(); }
  std::ostream& Errors() override { return qt_.Errors(); }
  std::ostream& Output() override { return qt_.Output(); }
  bool Start() override { return qt_.Start(); }
  platform::Clock& Clocks() override { return qt_.Clocks(); }
  platform::EventPump& Events() override { return busy_; }
  std::unique_ptr<platform::Iowkit> Controller() override { return qt_.Controller(); }
  std::unique_ptr<platform::Sensors> MachineSensors() override { return qt_.MachineSensors(); }
  void SetProgramIcon(const std::function<void(platform::Canvas&)>& paint) override {
    qt_.SetProgramIcon(paint);
  }
  std::unique_ptr<platform::FormWindow> MakeFormWindow(
      platform::FormEvents& events, const platform::FormLayout& layout) override {
    return qt_.MakeFormWindow(events, layout);
  }
  std::unique_ptr<platform::PaintedWindow> MakePaintedWindow(
      platform::PaintedWindowSetup setup) override {
    return qt_.MakePaintedWindow(std::move(setup));
  }
  void CloseOnTermination(platform::FormWindow& window) override { qt_.CloseOnTermination(window); }
  int Run() override { return qt_.Run(); }

 private:
  platform::QtToolkit qt_;
  BusyPollEventPump busy_;
};

}  // namespace

int main(int argc, char* argv[]) {
  BusyPollToolkit toolkit(argc, argv);
  return emulator::RunDemo(toolkit);
}
