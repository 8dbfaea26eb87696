// SPDX-License-Identifier: GPL-2.0-or-later
// What one click shows: two fixed texts, then seven texts of live readings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "display/display_port.h"
#include "display/ticker.h"
#include "platform/sensors.h"
#include "status/reading_text.h"

namespace status {
class TextsSource;
}  // namespace status

namespace status {

// One row of the run: a fixed text, or a label, readings and a suffix.
struct StatusRow {
  std::string label;                         // the whole text for the fixed rows
  std::optional<platform::Reading> reading;  // none for the fixed rows
  int readings = 0;
  CommaPlace comma = CommaPlace::kNone;
  std::string suffix;
};

// The nine rows in the order they are shown.
const std::vector<StatusRow>& StatusRows();

// The row that shows `reading`; nothing for a reading no row shows.
const StatusRow* RowOf(platform::Reading reading);

class StatusRunner {
 public:
  StatusRunner(display::DisplayPort& port, display::Ticker& ticker, platform::Sensors& sensors)
      : port_(port), ticker_(ticker), sensors_(sensors) {}

  // The texts of each run, read at its start; without them, the table's.
  void SetTexts(TextsSource* texts) { texts_ = texts; }

  // Clears the display, then runs the texts through the ticker, each
  // composed just before it is shown. Ends early when the ticker is stopped.
  void StatusRun();

 private:
  display::DisplayPort& port_;
  display::Ticker& ticker_;
  platform::Sensors& sensors_;
  TextsSource* texts_ = nullptr;
};

}  // namespace status
