// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/qt/qt_canvas.h"

namespace platform {
namespace {

QColor ToQt(Color c) { return {c.red, c.green, c.blue}; }

}  // namespace

QtCanvas::QtCanvas(QPainter& painter) : painter_(painter) {
  painter_.setRenderHint(QPainter::Antialiasing);
}

void QtCanvas::FillRect(int x, int y, int width, int height, Color fill) {
  painter_.fillRect(x, y, width, height, ToQt(fill));
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

void QtCanvas::Text(int x, int y, int width, int height, const std::string& text, Color color) {
  painter_.setPen(ToQt(color));
  painter_.drawText(QRect(x, y, width, height), Qt::AlignLeft | Qt::AlignVCenter,
                    QString::fromStdString(text));
}

}  // namespace platform
