#pragma once

class QWidget;

namespace platform {

// SIGINT and SIGTERM close `window` from the event loop, as if the user had
// closed it, so its unload handler runs.
void CloseOnTerminationSignals(QWidget* window);

}  // namespace platform
