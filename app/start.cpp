#include "app/start.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

#include "app/form1.h"
#include "platform/qt/termination_signals.h"

namespace {

// The program's icon: an "8" on one dot-matrix character, red on dark.
QIcon ProgramIcon() {
  constexpr int kColumns[5] = {0x36, 0x49, 0x49, 0x49, 0x36};
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 2));
  painter.setBrush(QColor(0x12, 0x06, 0x06));
  painter.drawRoundedRect(8, 2, 48, 60, 5, 5);
  painter.setPen(Qt::NoPen);
  for (int column = 0; column < 5; ++column) {
    for (int row = 0; row < 7; ++row) {
      const bool lit = ((kColumns[column] >> row) & 1) != 0;
      painter.setBrush(lit ? QColor(0xFF, 0x2A, 0x1A) : QColor(0x3A, 0x10, 0x0E));
      painter.drawEllipse(QPointF(16.0 + column * 8.0, 8.0 + row * 8.0), 3.0, 3.0);
    }
  }
  return QIcon(pixmap);
}

}  // namespace

int StartForm(Form1& form, const std::function<void()>& on_shown) {
  QApplication::setWindowIcon(ProgramIcon());
  if (!form.Form_Load()) return 1;
  platform::CloseOnTerminationSignals(&form);
  form.show();
  if (on_shown) on_shown();
  return QApplication::exec();
}
