// SPDX-License-Identifier: GPL-2.0-or-later
// The window system on Linux: Qt 6 Widgets for the windows, the termination
// signals and the main loop. It starts Qt only when the program asks for
// windows.
#pragma once

#include <QApplication>
#include <memory>

#include "platform/window_system.h"

namespace platform {

class QtWindowSystem final : public WindowSystem {
 public:
  // `argv[0]` names the program to Qt; the other arguments are the
  // program's, not Qt's.
  QtWindowSystem(int argc, char** argv);
  ~QtWindowSystem() override;
  QtWindowSystem(const QtWindowSystem&) = delete;
  QtWindowSystem& operator=(const QtWindowSystem&) = delete;

  bool Start() override;
  void SetProgramIcon(const std::function<void(Canvas&)>& paint) override;
  std::unique_ptr<FormWindow> MakeFormWindow(FormEvents& events, const FormLayout& layout) override;
  std::unique_ptr<PaintedWindow> MakePaintedWindow(PaintedWindowSetup setup) override;
  void CloseOnTermination(FormWindow& window) override;
  int Run() override;

 private:
  char** argv_;
  int qt_argc_;  // QApplication keeps a reference to it
  std::unique_ptr<QApplication> application_;
};

}  // namespace platform
