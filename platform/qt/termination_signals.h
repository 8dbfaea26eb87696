// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>

class QObject;

namespace platform {

// SIGINT and SIGTERM call `close` from the event loop (never from the signal
// handler), for as long as `owner` lives.
void OnTerminationSignals(QObject* owner, std::function<void()> close);

}  // namespace platform
