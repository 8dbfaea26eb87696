// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/qt/qt_window_system.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QtGlobal>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_windows.h"
#include "platform/qt/termination_signals.h"

namespace platform {

QtWindowSystem::QtWindowSystem(int argc, char** argv) : argv_(argv), qt_argc_(std::min(argc, 1)) {}

QtWindowSystem::~QtWindowSystem() = default;

bool QtWindowSystem::Start() {
  // Under X, Qt hands the server a window's pixels through shared memory,
  // and before it repaints what the server may still be reading it waits for
  // a round trip to the server: two more wake-ups for each repaint. The
  // program repaints a few small boxes a second; sending their pixels costs
  // less.
  qputenv("QT_XCB_NO_MITSHM", "1");
  // Qt sees only the program's name: its own options (-platform ...) are not
  // taken, QT_QPA_PLATFORM still is.
  application_ = std::make_unique<QApplication>(qt_argc_, argv_);
  return true;
}

void QtWindowSystem::SetProgramIcon(const std::function<void(Canvas&)>& paint) {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  {
    QPainter painter(&pixmap);
    QtCanvas canvas(painter);
    paint(canvas);
  }
  QApplication::setWindowIcon(QIcon(pixmap));
}

std::unique_ptr<FormWindow> QtWindowSystem::MakeFormWindow(FormEvents& events,
                                                           const FormLayout& layout) {
  return std::make_unique<QtFormWindow>(events, layout);
}

std::unique_ptr<PaintedWindow> QtWindowSystem::MakePaintedWindow(PaintedWindowSetup setup) {
  return std::make_unique<QtPaintedWindow>(std::move(setup));
}

void QtWindowSystem::CloseOnTermination(FormWindow& window) {
  OnTerminationSignals(application_.get(), [&window] { window.Close(); });
}

int QtWindowSystem::Run() { return QApplication::exec(); }

}  // namespace platform
