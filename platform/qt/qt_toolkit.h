// SPDX-License-Identifier: GPL-2.0-or-later
// The Linux platform: Qt 6 Widgets for the windows, the kernel's iowarrior
// driver for the controller and lm-sensors for the readings.
#pragma once

#include <QApplication>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/toolkit.h"

namespace platform {

class QtToolkit final : public Toolkit {
 public:
  // `program` names the program in its messages.
  QtToolkit(int& argc, char** argv, std::string program);
  ~QtToolkit() override;
  QtToolkit(const QtToolkit&) = delete;
  QtToolkit& operator=(const QtToolkit&) = delete;

  [[nodiscard]] std::vector<std::string> Arguments() const override;
  std::ostream& Errors() override;
  std::ostream& Output() override;
  bool Start() override;
  Clock& Clocks() override { return clock_; }
  EventPump& Events() override { return events_; }
  std::unique_ptr<Iowkit> Controller() override;
  std::unique_ptr<Sensors> MachineSensors() override;
  void SetProgramIcon(const std::function<void(Canvas&)>& paint) override;
  std::unique_ptr<FormWindow> MakeFormWindow(FormEvents& events, const FormLayout& layout) override;
  std::unique_ptr<PaintedWindow> MakePaintedWindow(PaintedWindowSetup setup) override;
  void CloseOnTermination(FormWindow& window) override;
  int Run() override;

 private:
  int& argc_;
  char** argv_;
  std::string program_;
  std::unique_ptr<QApplication> application_;
  int qt_argc_ = 0;  // QApplication keeps a reference to it
  SystemClock clock_;
  QtEventPump events_;
};

}  // namespace platform
