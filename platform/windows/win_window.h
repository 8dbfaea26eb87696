// SPDX-License-Identifier: GPL-2.0-or-later
// What the program's two kinds of top-level window share on Windows: window
// classes, DPI scaling, the dialog font and the program's icon.
#pragma once

#include <windows.h>

#include <functional>

namespace platform {

// A message parameter or window data that carries a pointer.
template <typename T>
T* PointerIn(LONG_PTR value) {
  return reinterpret_cast<T*>(value);  // NOLINT(performance-no-int-to-ptr)
}

// Where a window's messages go: the handler passed when it was created.
using MessageHandler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
// Creates a window of `class_name` (registered on first use, background the
// dialog colour, the icon from the program's icon); messages go to `handler`,
// which must live as long as the window. Returns nullptr when the window
// system refuses.
HWND CreateHandledWindow(const wchar_t* class_name, const wchar_t* title, DWORD style,
                         MessageHandler* handler);
// Stops messages going to the handler (before the handler goes away).
void DetachHandler(HWND window);

// The window's DPI (96 when the system does not say).
unsigned DpiOf(HWND window);
// `pixels` at 96 DPI, at `dpi`.
int ScaleToDpi(int pixels, unsigned dpi);
// Sizes the window so that its client area is width x height pixels at 96
// DPI, scaled to the window's DPI; keeps its position.
void SetClientSize(HWND window, int width, int height);
// The system's message font (the dialog font, e.g. Segoe UI 9 pt) at `dpi`.
// The caller deletes it.
HFONT MakeDialogFont(unsigned dpi);

// On WM_DPICHANGED: takes the size and place the system suggests (in
// `lparam`) and the icon for the new DPI.
void FollowDpiChange(HWND window, LPARAM lparam);

// Gives the window the program's icon (the resources' statusanzeige.ico) in
// the sizes for its DPI.
void ApplyProgramIcon(HWND window);
// Destroys the icons ApplyProgramIcon gave the window.
void ReleaseProgramIcon(HWND window);

}  // namespace platform
