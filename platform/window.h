// SPDX-License-Identifier: GPL-2.0-or-later
// The program's main window, as each toolkit provides it. A porter implements
// FormWindow; the program implements FormEvents and hears through it of the
// button and of the close.
#pragma once

#include <string>

namespace platform {

// What the main window looks like. Sizes are pixels at 96 DPI; a toolkit
// scales them on high-DPI screens.
struct FormLayout {
  std::string caption;
  int client_width = 0;
  int client_height = 0;
  std::string button_caption;
  int button_left = 0;
  int button_top = 0;
  int button_width = 0;
  int button_height = 0;
};

// Raised by the window on the window-event thread.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  // A click on the button.
  virtual void AnzeigestartButton_Click() = 0;
  // The window is closing (by the user, Close() or a termination request).
  // Raised once; the close is never refused.
  virtual void Form_Unload() = 0;
};

class FormWindow {
 public:
  virtual ~FormWindow() = default;
  // A modal message box with the text, the title, a single OK button and no
  // icon. Returns once the user has dismissed it.
  virtual void ShowMessageBox(const std::string& title, const std::string& text) = 0;
  virtual void Show() = 0;
  // Shows the window minimized (on the taskbar, or as the desktop keeps it).
  virtual void ShowMinimized() = 0;
  virtual void SetButtonEnabled(bool enabled) = 0;
  // Clicks the button once the event loop runs, as the user's click would
  // come: nothing if the button is disabled by then.
  virtual void ClickLater() = 0;
  // Closes the window as its close button does: Form_Unload follows.
  virtual void Close() = 0;
};

}  // namespace platform
