#pragma once

#include <functional>

class Form1;

// Loads the window (ending the program when there is no device), shows it,
// lets SIGINT and SIGTERM close it, and runs the event loop. `on_shown` runs
// after the window appears. Returns the program's exit status.
int StartForm(Form1& form, const std::function<void()>& on_shown = {});
