// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/win_window_system.h"

#include <windows.h>
// windows.h first.
#include <commctrl.h>

#include "platform/windows/termination.h"
#include "platform/windows/text.h"
#include "platform/windows/win_event_pump.h"
#include "platform/windows/win_form_window.h"
#include "platform/windows/win_painted_window.h"

namespace platform {

bool WinWindowSystem::Start() {
  // The manifest makes the program per-monitor DPI aware; this covers a
  // program started without it (it fails harmlessly when already set).
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  // Without a desktop to show windows on, creating one fails; say so rather
  // than wait for windows nobody sees.
  HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  if (probe == nullptr) {
    reporter_.Say("cannot open a window: " + ErrorText(GetLastError()));
    return false;
  }
  DestroyWindow(probe);
  return true;
}

void WinWindowSystem::SetProgramIcon(const std::function<void(Canvas&)>& /*paint*/) {}

std::unique_ptr<FormWindow> WinWindowSystem::MakeFormWindow(FormEvents& events,
                                                            const FormLayout& layout) {
  auto window = std::make_unique<WinFormWindow>(events, layout);
  main_closed_ = window->ClosedFlag();
  return window;
}

std::unique_ptr<PaintedWindow> WinWindowSystem::MakePaintedWindow(PaintedWindowSetup setup) {
  return std::make_unique<WinPaintedWindow>(std::move(setup));
}

void WinWindowSystem::CloseOnTermination(FormWindow& window) {
  auto* form = dynamic_cast<WinFormWindow*>(&window);
  if (form == nullptr || form->Handle() == nullptr) return;
  form->CloseAtEndOfSession(ConsoleWindowClosed);
  CloseOnConsoleControl(form->Handle());
}

int WinWindowSystem::Run() {
  while (main_closed_ && !*main_closed_) {
    WaitForMessage(INFINITE);
    DispatchPendingMessages();
  }
  return 0;
}

}  // namespace platform
