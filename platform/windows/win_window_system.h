// SPDX-License-Identifier: GPL-2.0-or-later
// The window system on Windows: the Win32 API directly, with no library
// beyond Windows' own.
#pragma once

#include <memory>

#include "platform/reporter.h"
#include "platform/window_system.h"

namespace platform {

class WinWindowSystem final : public WindowSystem {
 public:
  explicit WinWindowSystem(Reporter& reporter) : reporter_(reporter) {}

  bool Start() override;
  // The windows show the icon among the program's resources, drawn from the
  // same picture (statusanzeige.ico): `paint` is not needed here.
  void SetProgramIcon(const std::function<void(Canvas&)>& paint) override;
  std::unique_ptr<FormWindow> MakeFormWindow(FormEvents& events, const FormLayout& layout) override;
  std::unique_ptr<PaintedWindow> MakePaintedWindow(PaintedWindowSetup setup) override;
  void CloseOnTermination(FormWindow& window) override;
  int Run() override;

 private:
  Reporter& reporter_;
  std::shared_ptr<const bool> main_closed_;
};

}  // namespace platform
