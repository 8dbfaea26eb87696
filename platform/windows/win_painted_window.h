// SPDX-License-Identifier: GPL-2.0-or-later
// A window the program paints itself (the emulated display), painted with
// GDI into a memory bitmap first and then copied at once, so it never
// flickers; only the box to be repainted is, with the pictures it keeps.
#pragma once

#include <windows.h>

#include "platform/window_system.h"
#include "platform/windows/gdi_canvas.h"
#include "platform/windows/win_window.h"

namespace platform {

class WinPaintedWindow final : public PaintedWindow {
 public:
  explicit WinPaintedWindow(PaintedWindowSetup setup);
  ~WinPaintedWindow() override;
  WinPaintedWindow(const WinPaintedWindow&) = delete;
  WinPaintedWindow& operator=(const WinPaintedWindow&) = delete;

  void ShowBelow(const FormWindow& beside) override;
  void Refresh(int x, int y, int width, int height) override;
  void Close() override;

 private:
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Paint();

  PaintedWindowSetup setup_;
  GdiPictures pictures_;
  MessageHandler handler_;
  HWND window_ = nullptr;
};

}  // namespace platform
