// SPDX-License-Identifier: GPL-2.0-or-later
// The Windows toolkit: the Win32 API directly, with no library beyond
// Windows' own.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/toolkit.h"
#include "platform/windows/messages.h"
#include "platform/windows/win_event_pump.h"

namespace platform {

class WinToolkit final : public Toolkit {
 public:
  // `program` names the program in its messages.
  explicit WinToolkit(std::string program);
  ~WinToolkit() override;
  WinToolkit(const WinToolkit&) = delete;
  WinToolkit& operator=(const WinToolkit&) = delete;

  [[nodiscard]] std::vector<std::string> Arguments() const override;
  std::ostream& Errors() override { return errors_; }
  std::ostream& Output() override { return output_; }
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
  std::string program_;
  MessageStream errors_;
  MessageStream output_;
  SystemClock clock_;
  WinEventPump events_;
  std::shared_ptr<const bool> main_closed_;
};

}  // namespace platform
