// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPainter>

#include "platform/canvas.h"

namespace platform {

// A Canvas on a QPainter; Qt scales for high-DPI screens itself.
class QtCanvas final : public Canvas {
 public:
  explicit QtCanvas(QPainter& painter);
  void FillRect(int x, int y, int width, int height, Color fill) override;
  void RoundedRect(int x, int y, int width, int height, int radius, Color fill,
                   Color outline) override;
  void Ellipse(int x, int y, int width, int height, Color fill) override;
  void Text(int x, int y, int width, int height, const std::string& text, Color color) override;

 private:
  QPainter& painter_;
};

}  // namespace platform
