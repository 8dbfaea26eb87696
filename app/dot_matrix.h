// SPDX-License-Identifier: GPL-2.0-or-later
// How the program draws dot-matrix characters: the emulated display and the
// program's icon share these colours and this dot drawing.
#pragma once

#include <array>
#include <cstdint>

#include "platform/canvas.h"

namespace dot_matrix {

inline constexpr platform::Color kLit{0xFF, 0x2A, 0x1A};
inline constexpr platform::Color kDark{0x3A, 0x10, 0x0E};
inline constexpr platform::Color kModule{0x12, 0x06, 0x06};
inline constexpr platform::Color kOutline{0x55, 0x55, 0x55};

// Five columns, left to right; bit 0 of a column is the top row.
using Glyph = std::array<std::uint8_t, 5>;

// The box a character covers from the top left corner of its top left dot:
// its dots and a pixel more to the right and below, which a dot's edge
// reaches on some canvases (GDI).
constexpr int CharacterWidth(int pitch, int dot) { return 4 * pitch + dot + 1; }
constexpr int CharacterHeight(int pitch, int dot) { return 6 * pitch + dot + 1; }

// One character of 5 x 7 dots of `dot` pixels each, `pitch` pixels apart,
// on the module's colour; (x, y) is the top left corner of the top left dot.
// It is a Canvas::Picture of its box, one for each glyph, pitch and dot.
void DrawCharacter(platform::Canvas& canvas, int x, int y, const Glyph& glyph, int pitch, int dot);

// The program's icon on a 64 x 64 canvas: an "8" on one dot-matrix
// character, red on dark.
void PaintProgramIcon(platform::Canvas& canvas);

}  // namespace dot_matrix
