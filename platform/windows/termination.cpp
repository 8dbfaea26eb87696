// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/termination.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<HWND> g_window{nullptr};
// Set while no window is waiting to close.
HANDLE ClosedEvent() {
  static HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  return event;
}

// How long a console close, logoff or shutdown waits for the window; the
// system ends the process soon after anyway.
constexpr DWORD kCloseWaitMs = 4000;

}  // namespace

void CloseOnConsoleControl(HWND window) {
  static const bool installed = SetConsoleCtrlHandler(ConsoleControlHandler, TRUE) != FALSE;
  (void)installed;
  ResetEvent(ClosedEvent());
  g_window = window;
}

void ConsoleWindowClosed() {
  g_window = nullptr;
  SetEvent(ClosedEvent());
}

BOOL WINAPI ConsoleControlHandler(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT: {
      HWND window = g_window.load();
      if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
      return TRUE;
    }
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT: {
      // The process ends when this returns: let the window close first.
      HWND window = g_window.load();
      if (window != nullptr && PostMessageW(window, WM_CLOSE, 0, 0)) {
        WaitForSingleObject(ClosedEvent(), kCloseWaitMs);
      }
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace platform
