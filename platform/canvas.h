// SPDX-License-Identifier: GPL-2.0-or-later
// Drawing, as a toolkit offers it to the few pictures the program paints
// itself (the emulated display and the program's icon).
#pragma once

#include <cstdint>
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
  // vertically centred in the box.
  virtual void Text(int x, int y, int width, int height, const std::string& text, Color color) = 0;
};

}  // namespace platform
