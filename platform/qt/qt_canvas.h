// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPainter>
#include <QPixmap>
#include <QRegion>
#include <unordered_map>

#include "platform/canvas.h"

namespace platform {

// The pictures a window keeps (Canvas::Picture), as pixmaps at one device
// pixel ratio; at another they are painted anew.
class QtPictures {
 public:
  // The picture `key` at `ratio`, painted by `paint` when it is not kept yet.
  const QPixmap& Get(std::uint64_t key, int width, int height, qreal ratio,
                     const std::function<void(Canvas&)>& paint);

 private:
  qreal ratio_ = 0.0;
  std::unordered_map<std::uint64_t, QPixmap> pixmaps_;
};

// A Canvas on a QPainter; Qt scales for high-DPI screens itself. With
// `pictures` it copies the pictures kept there; without, it paints each.
// `repainted` is what a paint event repaints (empty: everything); fills and
// pictures cover only that, rect by rect, since Qt hands a large fill
// through a complex clip to threads of its own and waits for them.
class QtCanvas final : public Canvas {
 public:
  explicit QtCanvas(QPainter& painter, QtPictures* pictures = nullptr, QRegion repainted = {});
  void FillRect(int x, int y, int width, int height, Color fill) override;
  void RoundedRect(int x, int y, int width, int height, int radius, Color fill,
                   Color outline) override;
  void Ellipse(int x, int y, int width, int height, Color fill) override;
  int Text(int x, int y, int width, int height, const std::string& text, Color color) override;
  void Picture(std::uint64_t key, int x, int y, int width, int height,
               const std::function<void(Canvas&)>& paint) override;

 private:
  QPainter& painter_;
  QtPictures* pictures_;
  QRegion repainted_;
};

}  // namespace platform
