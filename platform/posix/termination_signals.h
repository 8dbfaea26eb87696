// SPDX-License-Identifier: GPL-2.0-or-later
// SIGINT and SIGTERM as something an event loop can watch.
#pragma once

namespace platform {

// Catches SIGINT and SIGTERM from now on; each makes the returned descriptor
// readable (the handler does nothing else). -1 if that cannot be set up.
// The same descriptor for every call.
int WatchTerminationSignals();

// Takes what the signals left on the descriptor; true if there was any.
bool TakeTerminationSignals();

}  // namespace platform
