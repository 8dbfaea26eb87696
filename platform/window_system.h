// SPDX-License-Identifier: GPL-2.0-or-later
// The window system, as each toolkit provides it: the windows, the end of the
// program on a termination request, and the main loop. What a porter
// implements for a new toolkit, with an EventPump (see platform/qt).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/canvas.h"
#include "platform/window.h"

namespace platform {

// A window that the program paints itself, through a Canvas.
class PaintedWindow {
 public:
  virtual ~PaintedWindow() = default;
  // Shows the window just below `beside`, which is already shown.
  virtual void ShowBelow(const FormWindow& beside) = 0;
  // Asks for a repaint of a box of the client area (pixels at 96 DPI) once
  // the event loop runs again; what the box holds is painted, and what lies
  // beside it may be left as it is.
  virtual void Refresh(int x, int y, int width, int height) = 0;
  // Closes the window; its close listener is not called for this.
  virtual void Close() = 0;
};

struct PaintedWindowSetup {
  std::string title;  // UTF-8
  int width = 0;      // client area, pixels at 96 DPI
  int height = 0;
  std::function<void(Canvas&)> paint;
  // Called when the user closes the window.
  std::function<void()> on_close;
};

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Connects to the window system. False, after saying why, when there is
  // none. Nothing below may be used before it.
  virtual bool Start() = 0;

  // The program's icon, painted by `paint` on a 64 x 64 canvas, for every
  // window made after this call. A toolkit that carries the same picture
  // among the program's resources (Windows) shows that instead.
  virtual void SetProgramIcon(const std::function<void(Canvas&)>& paint) = 0;
  virtual std::unique_ptr<FormWindow> MakeFormWindow(FormEvents& events,
                                                     const FormLayout& layout) = 0;
  virtual std::unique_ptr<PaintedWindow> MakePaintedWindow(PaintedWindowSetup setup) = 0;
  // A termination request (SIGINT and SIGTERM; Ctrl+C, Ctrl+Break and the
  // end of the session on Windows) closes `window` from the event loop, as
  // its close button does.
  virtual void CloseOnTermination(FormWindow& window) = 0;

  // Runs the event loop until the main window has closed; returns 0.
  virtual int Run() = 0;
};

}  // namespace platform
