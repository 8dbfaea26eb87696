// SPDX-License-Identifier: GPL-2.0-or-later
// What the emulated display looks like: the two SLG 2016 modules with their
// eight red 5 x 7 dot-matrix characters, and a status line with the port
// values and the number of reports. Painted on any platform's Canvas.
#pragma once

#include <string>

#include "emulator/display_model.h"
#include "platform/canvas.h"

namespace emulator {

inline constexpr char kEmulatorTitle[] = "SLG 2016 \u2014 emulated";

class DisplayView {
 public:
  explicit DisplayView(const DisplayModel& model) : model_(model) {}

  // Client area in pixels at 96 DPI.
  static int Width();
  static int Height();

  void Paint(platform::Canvas& canvas) const;
  // "port 0: E7   port 1: 41   reports: 27"
  [[nodiscard]] std::string StatusLine() const;

 private:
  const DisplayModel& model_;
};

}  // namespace emulator
