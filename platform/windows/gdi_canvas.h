// SPDX-License-Identifier: GPL-2.0-or-later
// Canvas on a GDI device context, scaled from 96 DPI to the window's DPI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <unordered_map>

#include "platform/canvas.h"

namespace platform {

// The pictures a window keeps (Canvas::Picture), as bitmaps at one DPI; at
// another they are painted anew.
class GdiPictures {
 public:
  GdiPictures() = default;
  ~GdiPictures();
  GdiPictures(const GdiPictures&) = delete;
  GdiPictures& operator=(const GdiPictures&) = delete;

  // The picture `key` at `dpi`, a bitmap compatible with `dc`, painted by
  // `paint` (with `font` for text) when it is not kept yet.
  HBITMAP Get(std::uint64_t key, HDC dc, unsigned dpi, HFONT font, int width, int height,
              const std::function<void(Canvas&)>& paint);

 private:
  void Clear();

  unsigned dpi_ = 0;
  std::unordered_map<std::uint64_t, HBITMAP> bitmaps_;
};

class GdiCanvas final : public Canvas {
 public:
  // `dpi` is the DPI of the window painted on; `font` the text's font, which
  // the caller has made for that DPI (nullptr: the device context's own).
  // With `pictures` it copies the pictures kept there; without, it paints
  // each.
  GdiCanvas(HDC dc, unsigned dpi, HFONT font, GdiPictures* pictures = nullptr);

  void FillRect(int x, int y, int width, int height, Color fill) override;
  void RoundedRect(int x, int y, int width, int height, int radius, Color fill,
                   Color outline) override;
  void Ellipse(int x, int y, int width, int height, Color fill) override;
  int Text(int x, int y, int width, int height, const std::string& text, Color color) override;
  void Picture(std::uint64_t key, int x, int y, int width, int height,
               const std::function<void(Canvas&)>& paint) override;

  // A length in 96-DPI pixels at this canvas's DPI.
  [[nodiscard]] int Scale(int pixels) const;

 private:
  RECT Box(int x, int y, int width, int height) const;

  HDC dc_;
  unsigned dpi_;
  HFONT font_;
  GdiPictures* pictures_;
  // Where a picture painted in place has its origin (pixels at 96 DPI).
  int origin_x_ = 0;
  int origin_y_ = 0;
};

}  // namespace platform
