// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/qt/qt_windows.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>

namespace platform {

void ShowQtMessageBox(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
  box.button(QMessageBox::Ok)->setIcon(QIcon());  // plain text button, as on every platform
  box.exec();
}

QtFormWindow::QtFormWindow(FormEvents& events, const FormLayout& layout) : events_(events) {
  setWindowTitle(QString::fromStdString(layout.caption));
  setFixedSize(layout.client_width, layout.client_height);
  button_ = new QPushButton(QString::fromStdString(layout.button_caption), this);
  button_->setObjectName(QStringLiteral("AnzeigestartButton"));
  button_->setGeometry(layout.button_left, layout.button_top, layout.button_width,
                       layout.button_height);
  connect(button_, &QPushButton::clicked, this, [this] { events_.AnzeigestartButton_Click(); });
}

void QtFormWindow::ClickLater() {
  // click() does nothing on a disabled button, as a user's click would.
  QTimer::singleShot(0, button_, &QPushButton::click);
}

void QtFormWindow::ShowMessageBox(const std::string& title, const std::string& text) {
  ShowQtMessageBox(nullptr, QString::fromStdString(title), QString::fromStdString(text));
}

void QtFormWindow::closeEvent(QCloseEvent* event) {
  if (!unloaded_) {
    unloaded_ = true;
    events_.Form_Unload();
  }
  event->accept();
}

QtPaintedWindow::QtPaintedWindow(PaintedWindowSetup setup) : setup_(std::move(setup)) {
  setWindowTitle(QString::fromStdString(setup_.title));
  setFixedSize(setup_.width, setup_.height);
}

void QtPaintedWindow::ShowBelow(const FormWindow& beside) {
  if (const auto* widget = dynamic_cast<const QWidget*>(&beside)) {
    move(widget->frameGeometry().bottomLeft() + QPoint(0, 12));
  }
  show();
}

void QtPaintedWindow::Close() {
  closing_ = true;
  close();
  closing_ = false;
}

void QtPaintedWindow::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  QtCanvas canvas(painter, &pictures_, event->region());
  if (setup_.paint) setup_.paint(canvas);
}

void QtPaintedWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (!closing_ && setup_.on_close) setup_.on_close();
}

}  // namespace platform
