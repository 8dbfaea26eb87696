// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/reconnecting_iowkit.h"

#include <utility>

namespace platform {

ReconnectingIowkit::ReconnectingIowkit(PinInterfaces& pins, Clock& clock, Reporter& reporter)
    : pins_(pins), clock_(clock), reporter_(reporter) {}

ReconnectingIowkit::ReconnectingIowkit(std::unique_ptr<PinInterfaces> pins, Clock& clock,
                                       Reporter& reporter)
    : owned_pins_(std::move(pins)), pins_(*owned_pins_), clock_(clock), reporter_(reporter) {}

ReconnectingIowkit::~ReconnectingIowkit() {
  for (const auto& [handle, device] : open_) {
    if (device.opened) pins_.Close(device.opened->link);
  }
}

IowkitHandle ReconnectingIowkit::IowKitOpenDevice() {
  auto opened = pins_.OpenFirst(/*report=*/true);
  if (!opened) return 0;
  const IowkitHandle handle = next_handle_++;
  Device device;
  device.path = opened->path;
  device.opened = std::move(opened);
  open_.emplace(handle, std::move(device));
  return handle;
}

bool ReconnectingIowkit::LookAgain(Device& device) {
  const double now = clock_.MonotonicSeconds();
  if (now - device.last_look < 1.0) return false;
  device.last_look = now;
  // Quietly: an interface that appears before it may be opened is simply
  // tried again a second later.
  device.opened = pins_.OpenFirst(/*report=*/false);
  device.returning = device.opened.has_value();
  return device.returning;
}

std::uint32_t ReconnectingIowkit::IowKitWrite(IowkitHandle handle, std::uint32_t pipe,
                                              const std::uint8_t* buffer, std::uint32_t length) {
  const auto it = open_.find(handle);
  if (it == open_.end() || pipe != kPinPipe || buffer == nullptr || length == 0) return 0;
  Device& device = it->second;
  if (!device.opened && !LookAgain(device)) return 0;
  const Result<std::uint32_t> written = pins_.Write(device.opened->link, buffer, length);
  if (written) {
    if (device.returning) {
      device.returning = false;
      device.path = device.opened->path;
      reporter_.Say("the IO-Warrior 24 is back at " + device.path);
    }
    return *written;
  }
  if (pins_.MeansGone(written.Error())) {
    // One found again but gone before a report went through is still the
    // same loss: let go quietly, and looked for again a second later.
    if (!device.returning) {
      reporter_.Say("lost the IO-Warrior 24 at " + device.path + ": " + written.Error().text);
    }
    pins_.Close(device.opened->link);
    device.opened.reset();
    device.returning = false;
    device.last_look = clock_.MonotonicSeconds();
  }
  return 0;
}

void ReconnectingIowkit::IowKitCloseDevice(IowkitHandle handle) {
  const auto it = open_.find(handle);
  if (it == open_.end()) return;
  if (it->second.opened) pins_.Close(it->second.opened->link);
  open_.erase(it);
}

}  // namespace platform
