// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/win_painted_window.h"

#include "platform/windows/gdi_canvas.h"
#include "platform/windows/text.h"
#include "platform/windows/win_form_window.h"

namespace platform {
namespace {

constexpr wchar_t kPaintedClass[] = L"StatusanzeigePainted";
constexpr DWORD kPaintedStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// Gap between the main window and a window shown below it.
constexpr int kGapBelow = 12;

}  // namespace

WinPaintedWindow::WinPaintedWindow(PaintedWindowSetup setup) : setup_(std::move(setup)) {
  handler_ = [this](HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return HandleMessage(window, message, wparam, lparam);
  };
  window_ =
      CreateHandledWindow(kPaintedClass, Widen(setup_.title).c_str(), kPaintedStyle, &handler_);
  if (window_ == nullptr) return;
  ApplyProgramIcon(window_);
  SetClientSize(window_, setup_.width, setup_.height);
}

WinPaintedWindow::~WinPaintedWindow() { Close(); }

void WinPaintedWindow::ShowBelow(const FormWindow& beside) {
  if (window_ == nullptr) return;
  const auto* form = dynamic_cast<const WinFormWindow*>(&beside);
  RECT frame{};
  if (form != nullptr && form->Handle() != nullptr && GetWindowRect(form->Handle(), &frame)) {
    SetWindowPos(window_, nullptr, frame.left,
                 frame.bottom + ScaleToDpi(kGapBelow, DpiOf(form->Handle())), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  ShowWindow(window_, SW_SHOWNOACTIVATE);
  UpdateWindow(window_);
}

void WinPaintedWindow::Refresh(int x, int y, int width, int height) {
  if (window_ == nullptr) return;
  const unsigned dpi = DpiOf(window_);
  // Both edges scaled, as the canvas scales them.
  const RECT box{ScaleToDpi(x, dpi), ScaleToDpi(y, dpi), ScaleToDpi(x + width, dpi),
                 ScaleToDpi(y + height, dpi)};
  InvalidateRect(window_, &box, FALSE);
}

void WinPaintedWindow::Close() {
  if (window_ == nullptr) return;
  HWND window = window_;
  window_ = nullptr;
  DetachHandler(window);
  ReleaseProgramIcon(window);
  DestroyWindow(window);
}

void WinPaintedWindow::Paint() {
  PAINTSTRUCT paint{};
  HDC target = BeginPaint(window_, &paint);
  // The box to be repainted, on a bitmap of its size whose logical origin is
  // the client area's.
  const RECT& box = paint.rcPaint;
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  if (width > 0 && height > 0) {
    HDC memory = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, width, height);
    HGDIOBJ old_bitmap = SelectObject(memory, bitmap);
    SetViewportOrgEx(memory, -box.left, -box.top, nullptr);
    ::FillRect(memory, &box, GetSysColorBrush(COLOR_BTNFACE));
    const unsigned dpi = DpiOf(window_);
    HFONT font = MakeDialogFont(dpi);
    if (setup_.paint) {
      GdiCanvas canvas(memory, dpi, font, &pictures_);
      setup_.paint(canvas);
    }
    BitBlt(target, box.left, box.top, width, height, memory, box.left, box.top, SRCCOPY);
    SelectObject(memory, old_bitmap);
    DeleteObject(bitmap);
    DeleteObject(font);
    DeleteDC(memory);
  }
  EndPaint(window_, &paint);
}

LRESULT WinPaintedWindow::HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // Paint covers every pixel.
    case WM_PAINT:
      if (window_ == nullptr) break;
      Paint();
      return 0;
    case WM_CLOSE:
      // Whoever listens decides; without a listener the window just goes.
      if (setup_.on_close) {
        setup_.on_close();
      } else {
        Close();
      }
      return 0;
    case WM_DPICHANGED:
      FollowDpiChange(window, lparam);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace platform
