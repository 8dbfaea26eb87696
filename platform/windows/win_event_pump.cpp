// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/win_event_pump.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr wchar_t kDialogProperty[] = L"Form1.DialogKeyboard";

bool IsDialogKeyboardMessage(MSG& message) {
  if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  HWND root = GetAncestor(message.hwnd, GA_ROOT);
  return root != nullptr && GetPropW(root, kDialogProperty) != nullptr &&
         IsDialogMessageW(root, &message) != FALSE;
}

BOOL CALLBACK CloseTopLevelWindow(HWND window, LPARAM /*unused*/) {
  if (GetAncestor(window, GA_ROOT) == window && IsWindowVisible(window)) {
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
  return TRUE;
}

}  // namespace

void MarkDialogWindow(HWND window) {
  static int marker = 0;
  SetPropW(window, kDialogProperty, &marker);
}

int DispatchPendingMessages() {
  int dispatched = 0;
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ++dispatched;
    if (message.message == WM_QUIT) {
      // The program ends when its main window closes; a quit request closes
      // the windows the same way.
      EnumThreadWindows(GetCurrentThreadId(), CloseTopLevelWindow, 0);
      continue;
    }
    if (IsDialogKeyboardMessage(message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return dispatched;
}

void WaitForMessage(DWORD milliseconds) {
  // MWMO_INPUTAVAILABLE: messages that arrived before the call count too.
  MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

DWORD WaitMilliseconds(double seconds) {
  if (!(seconds > 0.0)) return 0;
  const double milliseconds = std::ceil(std::min(seconds, 86400.0) * 1000.0);
  return static_cast<DWORD>(milliseconds);
}

void WinEventPump::ProcessEvents(double max_wait_seconds) {
  const DWORD wait = WaitMilliseconds(max_wait_seconds);
  if (wait > 0) WaitForMessage(wait);
  DispatchPendingMessages();
}

}  // namespace platform
