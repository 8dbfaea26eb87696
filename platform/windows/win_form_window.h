// SPDX-License-Identifier: GPL-2.0-or-later
// The program's main window as a native Win32 window: a fixed-size frame with
// the caption, one push button in the system's dialog font, sharp and scaled
// on high-DPI screens.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "platform/window.h"
#include "platform/windows/win_window.h"

namespace platform {

class WinFormWindow final : public FormWindow {
 public:
  // Creates the window, hidden.
  WinFormWindow(FormEvents& events, const FormLayout& layout);
  ~WinFormWindow() override;
  WinFormWindow(const WinFormWindow&) = delete;
  WinFormWindow& operator=(const WinFormWindow&) = delete;

  void ShowMessageBox(const std::string& title, const std::string& text) override;
  void Show() override;
  void ShowMinimized() override;
  void SetButtonEnabled(bool enabled) override;
  void ClickLater() override;
  void Close() override;

  // Set once the window has closed; shared, so that it outlives the window.
  [[nodiscard]] std::shared_ptr<const bool> ClosedFlag() const { return closed_; }
  [[nodiscard]] HWND Handle() const { return window_; }
  [[nodiscard]] HWND ButtonHandle() const { return button_; }

  // The end of the Windows session closes the window as its close button
  // does (WM_ENDSESSION). `on_destroyed` runs once the window is gone.
  void CloseAtEndOfSession(std::function<void()> on_destroyed);

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void LayOut();

  FormEvents& events_;
  FormLayout layout_;
  MessageHandler handler_;
  HWND window_ = nullptr;
  HWND button_ = nullptr;
  HFONT font_ = nullptr;
  std::shared_ptr<bool> closed_ = std::make_shared<bool>(false);
  bool close_at_end_of_session_ = false;
  std::function<void()> on_destroyed_;
};

}  // namespace platform
