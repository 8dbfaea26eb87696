// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/win_form_window.h"

#include "platform/windows/text.h"
#include "platform/windows/win_event_pump.h"

namespace platform {
namespace {

constexpr wchar_t kFormClass[] = L"StatusanzeigeForm1";
constexpr int kButtonId = 1;
// A fixed frame: caption, system menu and minimise, no resizing.
constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

WinFormWindow::WinFormWindow(FormEvents& events, const FormLayout& layout)
    : events_(events), layout_(layout) {
  handler_ = [this](HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return HandleMessage(window, message, wparam, lparam);
  };
  window_ = CreateHandledWindow(kFormClass, Widen(layout_.caption).c_str(),
                                kFormStyle | WS_CLIPCHILDREN, &handler_);
  if (window_ == nullptr) return;
  button_ = CreateWindowExW(0, L"BUTTON", Widen(layout_.button_caption).c_str(),
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 0, 0, window_,
                            PointerIn<HMENU__>(kButtonId), GetModuleHandleW(nullptr), nullptr);
  MarkDialogWindow(window_);
  ApplyProgramIcon(window_);
  LayOut();
}

WinFormWindow::~WinFormWindow() {
  if (window_ != nullptr) {
    // Gone with its owner, without the close events.
    DetachHandler(window_);
    ReleaseProgramIcon(window_);
    DestroyWindow(window_);
  }
  if (font_ != nullptr) DeleteObject(font_);
}

void WinFormWindow::LayOut() {
  const unsigned dpi = DpiOf(window_);
  SetClientSize(window_, layout_.client_width, layout_.client_height);
  if (button_ == nullptr) return;
  HFONT font = MakeDialogFont(dpi);
  SendMessageW(button_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  if (font_ != nullptr) DeleteObject(font_);
  font_ = font;
  SetWindowPos(button_, nullptr, ScaleToDpi(layout_.button_left, dpi),
               ScaleToDpi(layout_.button_top, dpi), ScaleToDpi(layout_.button_width, dpi),
               ScaleToDpi(layout_.button_height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void WinFormWindow::ShowMessageBox(const std::string& title, const std::string& text) {
  HWND owner = window_ != nullptr && IsWindowVisible(window_) ? window_ : nullptr;
  MessageBoxW(owner, Widen(text).c_str(), Widen(title).c_str(), MB_OK | MB_SETFOREGROUND);
}

void WinFormWindow::Show() {
  if (window_ == nullptr) return;
  ShowWindow(window_, SW_SHOWNORMAL);
  UpdateWindow(window_);
  if (button_ != nullptr && IsWindowEnabled(button_)) SetFocus(button_);
}

void WinFormWindow::ShowMinimized() {
  if (window_ == nullptr) return;
  // On the taskbar, without taking the focus from what the user is doing.
  ShowWindow(window_, SW_SHOWMINNOACTIVE);
}

void WinFormWindow::ClickLater() {
  if (window_ == nullptr || button_ == nullptr) return;
  // What the button itself sends when it is clicked.
  PostMessageW(window_, WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED),
               reinterpret_cast<LPARAM>(button_));
}

void WinFormWindow::SetButtonEnabled(bool enabled) {
  if (button_ == nullptr) return;
  EnableWindow(button_, enabled ? TRUE : FALSE);
  if (enabled && GetForegroundWindow() == window_) SetFocus(button_);
}

void WinFormWindow::Close() {
  if (*closed_ || window_ == nullptr) return;
  *closed_ = true;
  events_.Form_Unload();
  // The unload may have run inside a pause of a run that is still on the
  // stack, in this window's own procedure; destroying the window there is
  // safe as long as nothing touches it afterwards.
  HWND window = window_;
  ReleaseProgramIcon(window);
  DestroyWindow(window);
}

void WinFormWindow::CloseAtEndOfSession(std::function<void()> on_destroyed) {
  close_at_end_of_session_ = true;
  on_destroyed_ = std::move(on_destroyed);
}

LRESULT WinFormWindow::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
      // A click that reaches a disabled button (BM_CLICK sent by another
      // program) is no click.
      if (LOWORD(wparam) == kButtonId && HIWORD(wparam) == BN_CLICKED && !*closed_ &&
          button_ != nullptr && IsWindowEnabled(button_)) {
        events_.AnzeigestartButton_Click();
        return 0;
      }
      break;
    case WM_CLOSE:
      Close();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    case WM_ENDSESSION:
      // After this message returns the process may end at any moment: the
      // device link is closed first.
      if (wparam != FALSE && close_at_end_of_session_) Close();
      return 0;
    case WM_DPICHANGED:
      FollowDpiChange(window, lparam);
      LayOut();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) != WA_INACTIVE && button_ != nullptr && IsWindowEnabled(button_)) {
        SetFocus(button_);
      }
      return 0;
    case WM_DESTROY:
      window_ = nullptr;
      button_ = nullptr;
      *closed_ = true;
      if (on_destroyed_) on_destroyed_();
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace platform
