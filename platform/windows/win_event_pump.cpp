// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/win_event_pump.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "platform/shared/wall_second.h"

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

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

WinEventPump::WinEventPump()
    : timer_(CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                    TIMER_ALL_ACCESS)) {}

WinEventPump::~WinEventPump() {
  if (timer_ != nullptr) CloseHandle(timer_);
}

void WinEventPump::ProcessEventsUntilSecond(double seconds) {
  if (timer_ == nullptr || !(seconds > 0.0)) {
    ProcessEvents(seconds);
    return;
  }
  constexpr std::int64_t kTicks = 10000000;  // a file time's 100 ns units per second
  FILETIME now_file{};
  GetSystemTimePreciseAsFileTime(&now_file);
  const ULARGE_INTEGER now{{now_file.dwLowDateTime, now_file.dwHighDateTime}};
  const auto now_ticks = static_cast<std::int64_t>(now.QuadPart);
  const std::int64_t wake = WallWakeTime(now_ticks, kTicks, seconds);
  // An absolute (UTC) due time follows the wall clock when it is set; where
  // the timer takes only relative ones, the same moment counted from now.
  LARGE_INTEGER due{};
  due.QuadPart = wake;
  if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) == FALSE) {
    due.QuadPart = -std::max<std::int64_t>(wake - now_ticks, 1);
    if (SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE) == FALSE) {
      ProcessEvents(seconds);
      return;
    }
  }
  MsgWaitForMultipleObjectsEx(1, &timer_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  CancelWaitableTimer(timer_);
  DispatchPendingMessages();
}

void WinEventPump::ProcessEvents(double max_wait_seconds) {
  const DWORD wait = WaitMilliseconds(max_wait_seconds);
  if (wait > 0) WaitForMessage(wait);
  DispatchPendingMessages();
}

}  // namespace platform
