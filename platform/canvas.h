// SPDX-License-Identifier: GPL-2.0-or-later
// Drawing, as a toolkit offers it to the few pictures the program paints
// itself (the emulated display and the program's icon).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

struct Color {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  friend bool operator==(const Color&, const Color&) = default;
};

// Coordinates are pixels at 96 DPI from the top left corner; a canvas scales
// them on high-DPI screens. Shapes are antialiased where the toolkit can.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void FillRect(int x, int y, int width, int height, Color fill) = 0;
  // A rounded rectangle with a one-pixel outline.
  virtual void RoundedRect(int x, int y, int width, int height, int radius, Color fill,
                           Color outline) = 0;
  // A filled circle or ellipse inside the given box.
  virtual void Ellipse(int x, int y, int width, int height, Color fill) = 0;
  // One line of text in the toolkit's default font, left-aligned and
  // vertically centred in the box. Returns the text's width (pixels at
  // 96 DPI, rounded up), whether or not the box holds it all.
  virtual int Text(int x, int y, int width, int height, const std::string& text, Color color) = 0;
  // A picture that is the same wherever it goes: `paint` draws it on a canvas
  // whose origin is the picture's top left corner, within width x height,
  // covering every pixel. `key` names it: the same key, the same picture.
  // A window's canvas paints each key once per scale into a bitmap of its
  // own and copies that from then on; other canvases paint it each time.
  virtual void Picture(std::uint64_t key, int x, int y, int width, int height,
                       const std::function<void(Canvas&)>& paint) = 0;
};

}  // namespace platform
