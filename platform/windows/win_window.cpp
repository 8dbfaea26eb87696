// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/win_window.h"

#include <set>
#include <string>

namespace platform {
namespace {

constexpr int kProgramIconId = 1;  // in statusanzeige.rc

HICON LoadProgramIcon(int size) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId),
                                       IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

LRESULT CALLBACK HandledProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = PointerIn<const CREATESTRUCTW>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* handler = PointerIn<MessageHandler>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (handler != nullptr && *handler) return (*handler)(window, message, wparam, lparam);
  return DefWindowProcW(window, message, wparam, lparam);
}

void RegisterOnce(const wchar_t* class_name) {
  static std::set<std::wstring> registered;
  if (registered.count(class_name) != 0) return;
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.style = CS_HREDRAW | CS_VREDRAW;
  window_class.lpfnWndProc = HandledProcedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  window_class.hbrBackground = PointerIn<HBRUSH__>(COLOR_BTNFACE + 1);
  window_class.lpszClassName = class_name;
  // The icon of the program's resources, where the window gets none of its own.
  window_class.hIcon = LoadIconW(window_class.hInstance, MAKEINTRESOURCEW(kProgramIconId));
  if (RegisterClassExW(&window_class) != 0) registered.insert(class_name);
}

}  // namespace

HWND CreateHandledWindow(const wchar_t* class_name, const wchar_t* title, DWORD style,
                         MessageHandler* handler) {
  RegisterOnce(class_name);
  return CreateWindowExW(0, class_name, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                         CW_USEDEFAULT, nullptr, nullptr, GetModuleHandleW(nullptr), handler);
}

void DetachHandler(HWND window) { SetWindowLongPtrW(window, GWLP_USERDATA, 0); }

unsigned DpiOf(HWND window) {
  const UINT dpi = window != nullptr ? GetDpiForWindow(window) : 0;
  return dpi != 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int ScaleToDpi(int pixels, unsigned dpi) {
  return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

void SetClientSize(HWND window, int width, int height) {
  const unsigned dpi = DpiOf(window);
  RECT frame{0, 0, ScaleToDpi(width, dpi), ScaleToDpi(height, dpi)};
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  const auto ex_style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
  AdjustWindowRectExForDpi(&frame, style, FALSE, ex_style, dpi);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT MakeDialogFont(unsigned dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    // At the primary screen's DPI; rescale.
    HDC screen = GetDC(nullptr);
    const int screen_dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    metrics.lfMessageFont.lfHeight =
        MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), screen_dpi);
    return CreateFontIndirectW(&metrics.lfMessageFont);
  }
  return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

void FollowDpiChange(HWND window, LPARAM lparam) {
  const auto* suggested = PointerIn<const RECT>(lparam);
  SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyProgramIcon(window);
}

void ApplyProgramIcon(HWND window) {
  const unsigned dpi = DpiOf(window);
  HICON big = LoadProgramIcon(GetSystemMetricsForDpi(SM_CXICON, dpi));
  HICON small = LoadProgramIcon(GetSystemMetricsForDpi(SM_CXSMICON, dpi));
  ReleaseProgramIcon(window);
  if (big != nullptr) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (small != nullptr) {
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
}

void ReleaseProgramIcon(HWND window) {
  for (const WPARAM which : {ICON_BIG, ICON_SMALL}) {
    auto* icon = PointerIn<HICON__>(SendMessageW(window, WM_SETICON, which, 0));
    if (icon != nullptr) DestroyIcon(icon);
  }
}

}  // namespace platform
