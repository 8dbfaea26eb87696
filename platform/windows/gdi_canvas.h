// SPDX-License-Identifier: GPL-2.0-or-later
// Canvas on a GDI device context, scaled from 96 DPI to the window's DPI.
#pragma once

#include <windows.h>

#include "platform/canvas.h"

namespace platform {

class GdiCanvas final : public Canvas {
 public:
  // `dpi` is the DPI of the window painted on; `font` the text's font, which
  // the caller has made for that DPI (nullptr: the device context's own).
  GdiCanvas(HDC dc, unsigned dpi, HFONT font);

  void FillRect(int x, int y, int width, int height, Color fill) override;
  void RoundedRect(int x, int y, int width, int height, int radius, Color fill,
                   Color outline) override;
  void Ellipse(int x, int y, int width, int height, Color fill) override;
  void Text(int x, int y, int width, int height, const std::string& text, Color color) override;

  // A length in 96-DPI pixels at this canvas's DPI.
  [[nodiscard]] int Scale(int pixels) const;

 private:
  RECT Box(int x, int y, int width, int height) const;

  HDC dc_;
  unsigned dpi_;
  HFONT font_;
};

}  // namespace platform
