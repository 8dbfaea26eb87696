// SPDX-License-Identifier: GPL-2.0-or-later
// Ctrl+C, Ctrl+Break and the closing of the console the program was started
// from, and the end of the Windows session: each closes the main window from
// its event loop, as its close button does.
#pragma once

#include <windows.h>

namespace platform {

// Lets console control events close `window` (by WM_CLOSE). Installed once;
// a later call names another window.
void CloseOnConsoleControl(HWND window);
// To be called once the window is gone: a console close, logoff or shutdown
// waits for this before the system ends the process.
void ConsoleWindowClosed();

// The console control handler itself (the system calls it on a thread of its
// own). TRUE when the event was handled.
BOOL WINAPI ConsoleControlHandler(DWORD event);

}  // namespace platform
