// SPDX-License-Identifier: GPL-2.0-or-later
// Everything a program needs of its platform, in one place: what a porter
// implements for a new system or toolkit (see platform/qt for an example).
// Each platform's main() makes one Toolkit and hands it to the program.
#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/iowkit.h"
#include "platform/sensors.h"
#include "platform/window.h"

namespace platform {

// A window that the program paints itself, through a Canvas.
class PaintedWindow {
 public:
  virtual ~PaintedWindow() = default;
  // Shows the window just below `beside`, which is already shown.
  virtual void ShowBelow(const FormWindow& beside) = 0;
  // Asks for a repaint once the event loop runs again.
  virtual void Refresh() = 0;
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

class Toolkit {
 public:
  virtual ~Toolkit() = default;

  // The command-line arguments after the program's name, in UTF-8.
  [[nodiscard]] virtual std::vector<std::string> Arguments() const = 0;
  // Where the program's messages and its --help text go.
  virtual std::ostream& Errors() = 0;
  virtual std::ostream& Output() = 0;

  // Connects to the window system. False, after saying why on Errors(), when
  // there is none. Nothing below Start() may be used before it, except
  // Clocks() and MachineSensors(): --sensors lists the sensors without a
  // window system.
  virtual bool Start() = 0;

  virtual Clock& Clocks() = 0;
  virtual EventPump& Events() = 0;
  // The machine's own controller layer and sensors.
  virtual std::unique_ptr<Iowkit> Controller() = 0;
  virtual std::unique_ptr<Sensors> MachineSensors() = 0;

  // The program's icon, painted by `paint` on a 64 x 64 canvas, for every
  // window made after this call.
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
