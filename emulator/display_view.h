// SPDX-License-Identifier: GPL-2.0-or-later
// What the emulated display looks like: the two SLG 2016 modules with their
// eight red 5 x 7 dot-matrix characters, and a status line with the port
// values and the number of reports. Painted on any platform's Canvas.
#pragma once

#include <array>
#include <string>

#include "app/dot_matrix.h"
#include "emulator/display_model.h"
#include "platform/canvas.h"
#include "platform/window_system.h"

namespace emulator {

inline constexpr char kEmulatorTitle[] = "SLG 2016 \u2014 emulated";

class DisplayView {
 public:
  explicit DisplayView(const DisplayModel& model) : model_(model) {}

  // Client area in pixels at 96 DPI.
  static int Width();
  static int Height();

  void Paint(platform::Canvas& canvas) const;
  // Asks `window` to repaint what has changed since the last call (or since
  // the view was made): the characters whose dots have changed, and the
  // status line. The rest stays as painted.
  void RefreshChanged(platform::PaintedWindow& window);
  // "port 0: E7   port 1: 41   reports: 27"
  [[nodiscard]] std::string StatusLine() const;

 private:
  // The dots that position shows.
  [[nodiscard]] dot_matrix::Glyph GlyphAt(std::size_t position) const;

  const DisplayModel& model_;
  // What was shown when last asked for.
  std::array<dot_matrix::Glyph, DisplayModel::kPositions> refreshed_glyphs_{};
  std::string refreshed_status_ = StatusLine();
  // How wide the status line was when last painted (0: not yet), so that
  // only as much of its box as it takes is repainted.
  mutable int status_width_ = 0;
};

}  // namespace emulator
