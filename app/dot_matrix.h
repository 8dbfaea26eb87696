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

// One character of 5 x 7 dots of `dot` pixels each, `pitch` pixels apart;
// (x, y) is the top left corner of the top left dot.
void DrawCharacter(platform::Canvas& canvas, int x, int y, const Glyph& glyph, int pitch, int dot);

// The program's icon on a 64 x 64 canvas: an "8" on one dot-matrix
// character, red on dark.
void PaintProgramIcon(platform::Canvas& canvas);

}  // namespace dot_matrix
