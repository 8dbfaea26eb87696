// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/hid_iowkit.h"

#include <algorithm>
#include <cctype>

#include "platform/shared/ascii.h"

namespace platform {
namespace {

// The hexadecimal number after `key` (e.g. "vid_") where `key` starts a part
// of the path, that is follows '#', '&' or '\\'.
template <typename T>
std::optional<T> HexAfter(const std::string& lower_path, const std::string& key,
                          std::size_t digits) {
  std::size_t at = 0;
  while ((at = lower_path.find(key, at)) != std::string::npos) {
    const bool starts_part = at > 0 && (lower_path[at - 1] == '#' || lower_path[at - 1] == '&' ||
                                        lower_path[at - 1] == '\\');
    const std::size_t begin = at + key.size();
    at = begin;
    if (!starts_part || begin + digits > lower_path.size()) continue;
    unsigned value = 0;
    bool valid = true;
    for (std::size_t i = begin; i < begin + digits; ++i) {
      const char c = lower_path[i];
      if (!std::isxdigit(static_cast<unsigned char>(c))) {
        valid = false;
        break;
      }
      value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                     ? c - '0'
                                                     : c - 'a' + 10);
    }
    if (valid) return static_cast<T>(value);
  }
  return std::nullopt;
}

bool IsOurInterface(std::uint16_t vendor, std::uint16_t product) {
  return vendor == kCodeMercenariesVendor && product == kIoWarrior24Product;
}

}  // namespace

HidPathInfo ParseHidPath(const std::string& path) {
  const std::string lower = AsciiLower(path);
  HidPathInfo info;
  info.vendor = HexAfter<std::uint16_t>(lower, "vid_", 4);
  info.product = HexAfter<std::uint16_t>(lower, "pid_", 4);
  info.interface_number = HexAfter<std::uint8_t>(lower, "mi_", 2);
  return info;
}

HidIowkit::HidIowkit(HidSystem& hid, Reporter& reporter) : hid_(hid), reporter_(reporter) {}

HidIowkit::HidIowkit(std::unique_ptr<HidSystem> hid, Reporter& reporter)
    : owned_hid_(std::move(hid)), hid_(*owned_hid_), reporter_(reporter) {}

HidIowkit::~HidIowkit() {
  for (const auto& [handle, open] : open_) hid_.Close(open.device);
}

IowkitHandle HidIowkit::IowKitOpenDevice() {
  for (const std::string& path : hid_.ListInterfaces()) {
    // Only the pin interface (interface 0) of an IO-Warrior 24 drives the
    // display. The path names the device and the interface, so every other
    // HID device (mice, keyboards, the controller's special-mode interface)
    // is passed over without being opened.
    const HidPathInfo named = ParseHidPath(path);
    if (!named.vendor || !named.product || !IsOurInterface(*named.vendor, *named.product) ||
        named.interface_number.value_or(0xFF) != 0) {
      continue;
    }
    const Result<HidDevice> opened = hid_.Open(path);
    if (!opened) {
      reporter_.Say("cannot open " + path + ": " + opened.Error().text);
      continue;
    }
    const HidDevice device = *opened;
    std::uint16_t vendor = 0;
    std::uint16_t product = 0;
    const std::uint32_t length = hid_.OutputReportLength(device);
    // At least the report ID and the two ports.
    if (hid_.Attributes(device, &vendor, &product) && IsOurInterface(vendor, product) &&
        length >= 3) {
      const IowkitHandle handle = next_handle_++;
      open_.emplace(handle, OpenInterface{device, length});
      return handle;
    }
    hid_.Close(device);
  }
  return 0;
}

std::uint32_t HidIowkit::IowKitWrite(IowkitHandle handle, std::uint32_t pipe,
                                     const std::uint8_t* buffer, std::uint32_t length) {
  const auto it = open_.find(handle);
  if (it == open_.end() || pipe != kPinPipe || buffer == nullptr || length == 0) return 0;
  // The HID driver takes exactly one whole output report per write: the
  // caller's report ID and ports, zero-padded to the interface's length.
  std::vector<std::uint8_t> report(it->second.report_length, 0);
  const std::uint32_t used = std::min<std::uint32_t>(length, it->second.report_length);
  std::copy_n(buffer, used, report.begin());
  if (!hid_.Write(it->second.device, report.data(), report.size())) return 0;
  return used;
}

void HidIowkit::IowKitCloseDevice(IowkitHandle handle) {
  const auto it = open_.find(handle);
  if (it == open_.end()) return;
  hid_.Close(it->second.device);
  open_.erase(it);
}

}  // namespace platform
