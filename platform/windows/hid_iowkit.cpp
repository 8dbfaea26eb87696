// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/hid_iowkit.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <vector>

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

namespace {

// Windows' HID interfaces as pin interfaces: a link is an open interface.
class Interfaces final : public PinInterfaces {
 public:
  Interfaces(HidSystem& hid, Reporter& reporter) : hid_(hid), reporter_(reporter) {}
  Interfaces(std::unique_ptr<HidSystem> hid, Reporter& reporter)
      : owned_hid_(std::move(hid)), hid_(*owned_hid_), reporter_(reporter) {}

  std::optional<Opened> OpenFirst(bool report) override {
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
        if (report) reporter_.Say("cannot open " + path + ": " + opened.Error().text);
        continue;
      }
      const HidDevice device = *opened;
      std::uint16_t vendor = 0;
      std::uint16_t product = 0;
      const std::uint32_t length = hid_.OutputReportLength(device);
      // At least the report ID and the two ports.
      if (hid_.Attributes(device, &vendor, &product) && IsOurInterface(vendor, product) &&
          length >= 3) {
        report_lengths_[device] = length;
        return Opened{device, path};
      }
      hid_.Close(device);
    }
    return std::nullopt;
  }

  Result<std::uint32_t> Write(std::uintptr_t link, const std::uint8_t* buffer,
                              std::uint32_t length) override {
    // The HID driver takes exactly one whole output report per write: the
    // caller's report ID and ports, zero-padded to the interface's length.
    std::vector<std::uint8_t> report(report_lengths_.at(link), 0);
    const auto used = static_cast<std::uint32_t>(std::min<std::size_t>(length, report.size()));
    std::copy_n(buffer, used, report.begin());
    const Result<std::size_t> written = hid_.Write(link, report.data(), report.size());
    if (!written) return written.Error();
    return used;
  }

  void Close(std::uintptr_t link) override {
    report_lengths_.erase(link);
    hid_.Close(link);
  }

  [[nodiscard]] bool MeansGone(const Failure& failure) const override {
    return MeansControllerGone(failure.code);
  }

 private:
  std::unique_ptr<HidSystem> owned_hid_;  // empty when the caller owns it
  HidSystem& hid_;
  Reporter& reporter_;
  std::map<HidDevice, std::uint32_t> report_lengths_;  // of each open interface
};

}  // namespace

HidIowkit::HidIowkit(HidSystem& hid, Clock& clock, Reporter& reporter)
    : ReconnectingIowkit(std::make_unique<Interfaces>(hid, reporter), clock, reporter) {}

HidIowkit::HidIowkit(std::unique_ptr<HidSystem> hid, Clock& clock, Reporter& reporter)
    : ReconnectingIowkit(std::make_unique<Interfaces>(std::move(hid), reporter), clock, reporter) {}

}  // namespace platform
