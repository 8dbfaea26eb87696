// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/form1.h"

const platform::FormLayout& Form1Layout() {
  static const platform::FormLayout layout{" Statusanzeige mit SLG 2016 von Wendrik Pfarlow Morvik",
                                           525,
                                           144,
                                           "Anzeigestart",
                                           16,
                                           96,
                                           89,
                                           33};
  return layout;
}

Form1::Form1(platform::Iowkit& iowkit, platform::Clock& clock, platform::EventPump& events,
             platform::Sensors& sensors)
    : iowkit_(iowkit),
      port_(iowkit),
      ticker_(port_, clock, events),
      runner_(port_, ticker_, sensors) {}

Form1::~Form1() {
  // A window torn down without a close still releases the link.
  if (loaded_ && !unloaded_) Form_Unload();
}

bool Form1::Form_Load() {
  port_.DeviceHandle = iowkit_.IowKitOpenDevice();
  if (port_.DeviceHandle == 0) {
    if (window_ != nullptr) window_->ShowMessageBox(kNoDeviceTitle, kNoDeviceText);
    return false;
  }
  loaded_ = true;
  return true;
}

void Form1::Form_Unload() {
  if (!loaded_ || unloaded_) return;
  unloaded_ = true;
  // Stop the run first, so that nothing is sent once the link is closed.
  ticker_.Stop();
  iowkit_.IowKitCloseDevice(port_.DeviceHandle);
  port_.DeviceHandle = 0;
}

void Form1::AnzeigestartButton_Click() {
  if (running_ || unloaded_ || !loaded_) return;
  running_ = true;
  if (window_ != nullptr) window_->SetButtonEnabled(false);
  runner_.StatusRun();
  while (repeat_ && !unloaded_) {
    // A run ends when its last step's pause does, on a whole second: the next
    // begins on that second, or on the nearest one if the run was late.
    ticker_.PauseSeconds = 0;
    ticker_.Pause();
    if (!unloaded_) runner_.StatusRun();
  }
  running_ = false;
  if (!unloaded_ && window_ != nullptr) window_->SetButtonEnabled(true);
}
