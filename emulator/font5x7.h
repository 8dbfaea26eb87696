// SPDX-License-Identifier: GPL-2.0-or-later
// A 5 x 7 dot-matrix font for the printable ASCII range, as the modules draw it.
#pragma once

#include <array>
#include <cstdint>

namespace emulator {

// Five columns, left to right; bit 0 of a column is the top row, bit 6 the
// bottom row. Codes outside 0x20-0x7E give an empty (blank) glyph.
std::array<std::uint8_t, 5> Glyph(std::uint8_t code);

}  // namespace emulator
