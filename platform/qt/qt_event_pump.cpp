// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/qt/qt_event_pump.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QTimer>
#include <cmath>

namespace platform {

QtEventPump::QtEventPump() = default;
QtEventPump::~QtEventPump() = default;

void QtEventPump::ProcessEvents(double max_wait_seconds) {
  if (max_wait_seconds <= 0.0) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return;
  }
  // Round up, so the wake-up never comes before the time asked for.
  const int wait_ms = static_cast<int>(std::ceil(std::min(max_wait_seconds, 86400.0) * 1000.0));
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  wake.start(wait_ms);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtEventPump::ProcessEventsUntilSecond(double seconds) {
  if (seconds <= 0.0 || !second_.Valid() || !second_.Arm(seconds)) {
    ProcessEvents(seconds);
    return;
  }
  if (!notifier_) {
    // Its activation is the event that ends the wait; the timer is read
    // when it is disarmed below.
    notifier_ = std::make_unique<QSocketNotifier>(second_.Fd(), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { second_.Disarm(); });
  }
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  second_.Disarm();
}

}  // namespace platform
