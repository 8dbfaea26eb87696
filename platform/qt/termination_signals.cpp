// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/qt/termination_signals.h"

#include <QSocketNotifier>

#include "platform/posix/termination_signals.h"

namespace platform {

void OnTerminationSignals(QObject* owner, std::function<void()> close) {
  const int fd = WatchTerminationSignals();
  if (fd < 0) return;
  auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, owner);
  QObject::connect(notifier, &QSocketNotifier::activated, owner, [close = std::move(close)] {
    TakeTerminationSignals();
    close();
  });
}

}  // namespace platform
