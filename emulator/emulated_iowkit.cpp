// SPDX-License-Identifier: GPL-2.0-or-later
#include "emulator/emulated_iowkit.h"

#include <chrono>

namespace emulator {

platform::IowkitHandle EmulatedIowkit::IowKitOpenDevice() {
  open_ = true;
  return kHandle;
}

std::uint32_t EmulatedIowkit::IowKitWrite(platform::IowkitHandle handle, std::uint32_t pipe,
                                          const std::uint8_t* buffer, std::uint32_t length) {
  // The pin interface takes three-byte reports with report ID 0, like the real one.
  if (!open_ || handle != kHandle || pipe != platform::kPinPipe || buffer == nullptr ||
      length != 3 || buffer[0] != 0) {
    return 0;
  }
  model_.Feed(buffer, length);
  if (listener_) listener_(buffer);
  return length;
}

void EmulatedIowkit::IowKitCloseDevice(platform::IowkitHandle handle) {
  if (handle == kHandle) open_ = false;
}

void ReportLog::Write(const std::uint8_t* report) {
  std::fprintf(file_, "%.6f %02X %02X %02X\n", epoch_seconds_(), report[0], report[1], report[2]);
  std::fflush(file_);
}

double EpochSeconds() {
  const auto now = std::chrono::system_clock::now().time_since_epoch();
  return static_cast<double>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()) /
         1e6;
}

}  // namespace emulator
