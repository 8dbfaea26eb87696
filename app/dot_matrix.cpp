// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/dot_matrix.h"

namespace dot_matrix {

void DrawCharacter(platform::Canvas& canvas, int x, int y, const Glyph& glyph, int pitch, int dot) {
  // The picture's name: 'C', the dots' size and spacing, and the lit dots.
  std::uint64_t key = (std::uint64_t{'C'} << 56U) |
                      (static_cast<std::uint64_t>(dot & 0xFF) << 48U) |
                      (static_cast<std::uint64_t>(pitch & 0xFF) << 40U);
  int shift = 0;
  for (const std::uint8_t column : glyph) {
    key |= static_cast<std::uint64_t>(column) << shift;
    shift += 8;
  }
  const int width = CharacterWidth(pitch, dot);
  const int height = CharacterHeight(pitch, dot);
  canvas.Picture(key, x, y, width, height, [&](platform::Canvas& picture) {
    picture.FillRect(0, 0, width, height, kModule);
    for (int column = 0; column < 5; ++column) {
      for (int row = 0; row < 7; ++row) {
        const bool lit = ((glyph[static_cast<std::size_t>(column)] >> row) & 1U) != 0;
        picture.Ellipse(column * pitch, row * pitch, dot, dot, lit ? kLit : kDark);
      }
    }
  });
}

void PaintProgramIcon(platform::Canvas& canvas) {
  constexpr Glyph kEight = {0x36, 0x49, 0x49, 0x49, 0x36};
  canvas.RoundedRect(8, 2, 48, 60, 5, kModule, kOutline);
  DrawCharacter(canvas, 13, 5, kEight, 8, 6);
}

}  // namespace dot_matrix
