// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/qt/qt_window_system.h"

#include <sys/socket.h>
#include <xcb/xcb.h>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QtGlobal>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_windows.h"
#include "platform/qt/termination_signals.h"

namespace platform {
namespace {

// Under X, the pixels of a repaint go to the server over one socket: a
// character box of the emulated display is about 8.6 KB, a step's repaint
// about 95 KB in all. Linux lets a program write to a local socket while a
// quarter of its send buffer or less waits to be read; with the usual buffer
// of 208 KiB that is about half a repaint, and the program would sleep on
// the server in the middle of each one. Asked for more, the kernel gives
// twice what its limit allows (net.core.wmem_max, 208 KiB by default): room
// for a whole repaint at 96 DPI on any setting, so that the program writes
// it at once and sleeps until the next second.
constexpr int kXSendBuffer = 1 << 20;

void MakeRoomForARepaint() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return;  // Wayland, offscreen
  auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
  if (connection == nullptr) return;
  const int socket = xcb_get_file_descriptor(connection);
  setsockopt(socket, SOL_SOCKET, SO_SNDBUF, &kXSendBuffer, sizeof kXSendBuffer);
}

}  // namespace

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
  MakeRoomForARepaint();
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
