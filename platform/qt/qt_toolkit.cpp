// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/qt/qt_toolkit.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <iostream>

#include "platform/linux/iowarrior_linux.h"
#include "platform/linux/libsensors_sensors.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_windows.h"
#include "platform/qt/termination_signals.h"

namespace platform {
QtToolkit::QtToolkit(int& argc, char** argv, std::string program)
    : argc_(argc), argv_(argv), program_(std::move(program)) {}

QtToolkit::~QtToolkit() = default;

std::vector<std::string> QtToolkit::Arguments() const {
  return {argv_ + std::min(argc_, 1), argv_ + argc_};
}

std::ostream& QtToolkit::Errors() { return std::cerr; }
std::ostream& QtToolkit::Output() { return std::cout; }

bool QtToolkit::Start() {
  // Arguments were checked before: Qt's own options (-platform ...) are not
  // taken, QT_QPA_PLATFORM still is.
  qt_argc_ = std::min(argc_, 1);
  application_ = std::make_unique<QApplication>(qt_argc_, argv_);
  return true;
}

std::unique_ptr<Iowkit> QtToolkit::Controller() {
  return std::make_unique<LinuxIowkit>(MakeLinuxIowarriorKernel(), std::cerr, program_);
}

std::unique_ptr<Sensors> QtToolkit::MachineSensors() {
  return std::make_unique<LibSensors>(std::cerr, program_);
}

void QtToolkit::SetProgramIcon(const std::function<void(Canvas&)>& paint) {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  {
    QPainter painter(&pixmap);
    QtCanvas canvas(painter);
    paint(canvas);
  }
  QApplication::setWindowIcon(QIcon(pixmap));
}

std::unique_ptr<FormWindow> QtToolkit::MakeFormWindow(FormEvents& events,
                                                      const FormLayout& layout) {
  return std::make_unique<QtFormWindow>(events, layout);
}

std::unique_ptr<PaintedWindow> QtToolkit::MakePaintedWindow(PaintedWindowSetup setup) {
  return std::make_unique<QtPaintedWindow>(std::move(setup));
}

void QtToolkit::CloseOnTermination(FormWindow& window) {
  OnTerminationSignals(application_.get(), [&window] { window.Close(); });
}

int QtToolkit::Run() { return QApplication::exec(); }

}  // namespace platform
