// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/win_toolkit.h"

#include <windows.h>
// windows.h first.
#include <commctrl.h>
#include <shellapi.h>

#include <ostream>

#include "platform/windows/hid_iowkit.h"
#include "platform/windows/program_icon.h"
#include "platform/windows/termination.h"
#include "platform/windows/text.h"
#include "platform/windows/win_form_window.h"
#include "platform/windows/win_painted_window.h"
#include "platform/windows/win_window.h"
#include "platform/windows/windows_sensors.h"

namespace platform {
WinToolkit::WinToolkit(std::string program)
    : program_(std::move(program)),
      errors_(ConsoleOutput::Stream::kError, /*debugger=*/true),
      output_(ConsoleOutput::Stream::kOutput, /*debugger=*/false) {
  AttachParentConsole();
}

WinToolkit::~WinToolkit() { SetProgramIconMaker({}); }

std::vector<std::string> WinToolkit::Arguments() const {
  std::vector<std::string> arguments;
  int count = 0;
  wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
  if (words == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(words[i]));
  LocalFree(words);
  return arguments;
}

bool WinToolkit::Start() {
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
    errors_ << program_ << ": cannot open a window: " << ErrorText(GetLastError()) << '\n'
            << std::flush;
    return false;
  }
  DestroyWindow(probe);
  return true;
}

std::unique_ptr<Iowkit> WinToolkit::Controller() {
  return std::make_unique<HidIowkit>(MakeWindowsHidSystem(), errors_);
}

std::unique_ptr<Sensors> WinToolkit::MachineSensors() {
  return MakeWindowsSensors(errors_, clock_);
}

void WinToolkit::SetProgramIcon(const std::function<void(Canvas&)>& paint) {
  SetProgramIconMaker([paint](int size) { return MakeIcon(RenderIcon(paint, size)); });
}

std::unique_ptr<FormWindow> WinToolkit::MakeFormWindow(FormEvents& events,
                                                       const FormLayout& layout) {
  auto window = std::make_unique<WinFormWindow>(events, layout);
  main_closed_ = window->ClosedFlag();
  return window;
}

std::unique_ptr<PaintedWindow> WinToolkit::MakePaintedWindow(PaintedWindowSetup setup) {
  return std::make_unique<WinPaintedWindow>(std::move(setup));
}

void WinToolkit::CloseOnTermination(FormWindow& window) {
  auto* form = dynamic_cast<WinFormWindow*>(&window);
  if (form == nullptr || form->Handle() == nullptr) return;
  form->CloseAtEndOfSession(ConsoleWindowClosed);
  CloseOnConsoleControl(form->Handle());
}

int WinToolkit::Run() {
  while (main_closed_ && !*main_closed_) {
    WaitForMessage(INFINITE);
    DispatchPendingMessages();
  }
  return 0;
}

}  // namespace platform
