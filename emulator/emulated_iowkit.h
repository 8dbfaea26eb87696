// SPDX-License-Identifier: GPL-2.0-or-later
// An emulated IO-Warrior 24 with the display wired to it: opening always
// succeeds, and every report on the pin interface drives the display model.
#pragma once

#include <cstdio>
#include <functional>

#include "emulator/display_model.h"
#include "platform/iowkit.h"

namespace emulator {

class EmulatedIowkit final : public platform::Iowkit {
 public:
  explicit EmulatedIowkit(DisplayModel& model) : model_(model) {}

  platform::IowkitHandle IowKitOpenDevice() override;
  std::uint32_t IowKitWrite(platform::IowkitHandle handle, std::uint32_t pipe,
                            const std::uint8_t* buffer, std::uint32_t length) override;
  void IowKitCloseDevice(platform::IowkitHandle handle) override;

  // Called after every report that reached the pins.
  void SetReportListener(std::function<void(const std::uint8_t* report)> listener) {
    listener_ = std::move(listener);
  }

 private:
  static constexpr platform::IowkitHandle kHandle = 1;
  DisplayModel& model_;
  bool open_ = false;
  std::function<void(const std::uint8_t* report)> listener_;
};

// One line per report, flushed as it is written:
// "<epoch seconds with six decimals> <byte> <byte> <byte>" in upper-case hex.
class ReportLog {
 public:
  // `epoch_seconds` supplies the wall-clock time of each line.
  ReportLog(std::FILE* file, std::function<double()> epoch_seconds)
      : file_(file), epoch_seconds_(std::move(epoch_seconds)) {}
  void Write(const std::uint8_t* report);

 private:
  std::FILE* file_;
  std::function<double()> epoch_seconds_;
};

// Seconds since the epoch, with microseconds.
double EpochSeconds();

}  // namespace emulator
