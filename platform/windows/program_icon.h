// SPDX-License-Identifier: GPL-2.0-or-later
// The program's icon, painted through a Canvas, as a Windows icon.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/canvas.h"

namespace platform {

// Straight (not premultiplied) BGRA pixels, top row first.
struct IconPixels {
  int size = 0;
  std::vector<std::uint8_t> bgra;
};

// Paints `paint` (which draws on a 64 x 64 canvas) at `size` x `size`:
// painted large, on black and on white to find out what it covers, then
// averaged down, so that small sizes keep the picture's edges smooth.
IconPixels RenderIcon(const std::function<void(Canvas&)>& paint, int size);

// An icon of the pixels; the caller destroys it. nullptr on failure.
HICON MakeIcon(const IconPixels& pixels);

}  // namespace platform
