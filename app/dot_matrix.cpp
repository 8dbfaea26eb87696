// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/dot_matrix.h"

namespace dot_matrix {

void DrawCharacter(platform::Canvas& canvas, int x, int y, const Glyph& glyph, int pitch, int dot) {
  for (int column = 0; column < 5; ++column) {
    for (int row = 0; row < 7; ++row) {
      const bool lit = ((glyph[static_cast<std::size_t>(column)] >> row) & 1U) != 0;
      canvas.Ellipse(x + column * pitch, y + row * pitch, dot, dot, lit ? kLit : kDark);
    }
  }
}

void PaintProgramIcon(platform::Canvas& canvas) {
  constexpr Glyph kEight = {0x36, 0x49, 0x49, 0x49, 0x36};
  canvas.RoundedRect(8, 2, 48, 60, 5, kModule, kOutline);
  DrawCharacter(canvas, 13, 5, kEight, 8, 6);
}

}  // namespace dot_matrix
