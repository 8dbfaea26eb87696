// SPDX-License-Identifier: GPL-2.0-or-later
// The program's only window. It owns the device link for its whole lifetime
// and, through the objects below, all of the program's state. The window
// itself is the toolkit's (platform::FormWindow); Form1 hears of its click
// and its close through platform::FormEvents.
#pragma once

#include "display/display_port.h"
#include "display/ticker.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/iowkit.h"
#include "platform/sensors.h"
#include "platform/window.h"
#include "status/status_run.h"

inline constexpr char kNoDeviceText[] = "Can not open device!";
inline constexpr char kNoDeviceTitle[] = "Error";

// Caption, size and button of the window, at 96 DPI.
const platform::FormLayout& Form1Layout();

class Form1 final : public platform::FormEvents {
 public:
  Form1(platform::Iowkit& iowkit, platform::Clock& clock, platform::EventPump& events,
        platform::Sensors& sensors);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // The toolkit's window for this form; set before Form_Load.
  void SetWindow(platform::FormWindow* window) { window_ = window; }

  // Opens the device link before the window is shown. Without a device it
  // shows "Can not open device!" and returns false: the program then ends
  // without showing the window.
  bool Form_Load();
  // Closes the device link and ends a run in progress; never refuses the close.
  void Form_Unload() override;
  // Runs the status run once (or, repeating, run after run until the
  // unload). Ignored while a run is already in progress.
  void AnzeigestartButton_Click() override;
  // A click starts run after run: each begins on the whole second the last
  // one ended, with the clear and fresh readings, as a click then would.
  void SetRepeat(bool repeat) { repeat_ = repeat; }
  // The texts of each run, read at its start; without them, the table's.
  void SetTexts(status::TextsSource* texts) { runner_.SetTexts(texts); }

  [[nodiscard]] bool Running() const { return running_; }
  display::DisplayPort& Port() { return port_; }
  display::Ticker& Ticker() { return ticker_; }

 private:
  platform::Iowkit& iowkit_;
  display::DisplayPort port_;
  display::Ticker ticker_;
  status::StatusRunner runner_;
  platform::FormWindow* window_ = nullptr;
  bool loaded_ = false;
  bool unloaded_ = false;
  bool running_ = false;
  bool repeat_ = false;
};
