// SPDX-License-Identifier: GPL-2.0-or-later
// The Windows message loop, in the two forms the program needs: the pause's
// "process what is pending, else sleep until something arrives or the time is
// up", and the main loop.
#pragma once

#include <windows.h>

#include "platform/event_pump.h"

namespace platform {

// Dispatches every message in the thread's queue and returns. Keyboard input
// for a window marked with MarkDialogWindow goes through IsDialogMessage (Tab,
// Space and Enter on its button). A WM_QUIT closes the thread's visible
// windows, as their close buttons do. Returns how many messages were taken.
int DispatchPendingMessages();

// Gives `window` the dialog keyboard interface (see above).
void MarkDialogWindow(HWND window);

// Waits until a message arrives for the thread or `milliseconds` have passed
// (INFINITE: no limit). Returns at once when one is already waiting.
void WaitForMessage(DWORD milliseconds);

class WinEventPump final : public EventPump {
 public:
  WinEventPump();
  ~WinEventPump() override;
  WinEventPump(const WinEventPump&) = delete;
  WinEventPump& operator=(const WinEventPump&) = delete;

  // Waits in MsgWaitForMultipleObjectsEx, so the thread sleeps rather than
  // polls, then dispatches until the queue is empty.
  void ProcessEvents(double max_wait_seconds) override;
  // The same, waiting on a high-resolution waitable timer set to the whole
  // second itself, where Windows has one (10 version 1803 and later): a
  // plain wait ends on the system's timer tick, up to 15.6 ms late. Without
  // it, the plain wait; the system-wide timer resolution is never changed.
  void ProcessEventsUntilSecond(double seconds) override;

 private:
  HANDLE timer_;
};

// Whole milliseconds to wait for `seconds`, rounded up so that the wake-up
// never comes early; at most a day, never INFINITE.
DWORD WaitMilliseconds(double seconds);

}  // namespace platform
