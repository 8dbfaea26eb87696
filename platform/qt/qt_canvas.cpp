// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/qt/qt_canvas.h"

#include <QFontMetricsF>
#include <cmath>

namespace platform {
namespace {

QColor ToQt(Color c) { return {c.red, c.green, c.blue}; }

}  // namespace

const QPixmap& QtPictures::Get(std::uint64_t key, int width, int height, qreal ratio,
                               const std::function<void(Canvas&)>& paint) {
  if (ratio != ratio_) {
    pixmaps_.clear();
    ratio_ = ratio;
  }
  auto [it, made] = pixmaps_.try_emplace(key);
  if (made) {
    it->second = QPixmap(QSize(width, height) * ratio);
    it->second.setDevicePixelRatio(ratio);
    QPainter painter(&it->second);
    QtCanvas canvas(painter);
    paint(canvas);
  }
  return it->second;
}

QtCanvas::QtCanvas(QPainter& painter, QtPictures* pictures, QRegion repainted)
    : painter_(painter), pictures_(pictures), repainted_(std::move(repainted)) {
  painter_.setRenderHint(QPainter::Antialiasing);
}

void QtCanvas::FillRect(int x, int y, int width, int height, Color fill) {
  const QRect box(x, y, width, height);
  if (repainted_.isEmpty()) {
    painter_.fillRect(box, ToQt(fill));
    return;
  }
  for (const QRect& part : repainted_.intersected(box)) painter_.fillRect(part, ToQt(fill));
}

void QtCanvas::RoundedRect(int x, int y, int width, int height, int radius, Color fill,
                           Color outline) {
  painter_.setPen(QPen(ToQt(outline), 1));
  painter_.setBrush(ToQt(fill));
  painter_.drawRoundedRect(x, y, width, height, radius, radius);
}

void QtCanvas::Ellipse(int x, int y, int width, int height, Color fill) {
  painter_.setPen(Qt::NoPen);
  painter_.setBrush(ToQt(fill));
  painter_.drawEllipse(x, y, width, height);
}

int QtCanvas::Text(int x, int y, int width, int height, const std::string& text, Color color) {
  const QString line = QString::fromStdString(text);
  painter_.setPen(ToQt(color));
  painter_.drawText(QRect(x, y, width, height), Qt::AlignLeft | Qt::AlignVCenter, line);
  return static_cast<int>(std::ceil(QFontMetricsF(painter_.font()).horizontalAdvance(line)));
}

void QtCanvas::Picture(std::uint64_t key, int x, int y, int width, int height,
                       const std::function<void(Canvas&)>& paint) {
  if (pictures_ == nullptr) {
    painter_.save();
    painter_.translate(x, y);
    paint(*this);
    painter_.restore();
    return;
  }
  const qreal ratio = painter_.device()->devicePixelRatioF();
  const QPixmap& pixmap = pictures_->Get(key, width, height, ratio, paint);
  const QRect box(x, y, width, height);
  if (repainted_.isEmpty()) {
    painter_.drawPixmap(box.topLeft(), pixmap);
    return;
  }
  for (const QRect& part : repainted_.intersected(box)) {
    const QRectF source(QPointF(part.topLeft() - box.topLeft()) * ratio,
                        QSizeF(part.size()) * ratio);
    painter_.drawPixmap(QPointF(part.topLeft()), pixmap, source);
  }
}

}  // namespace platform
