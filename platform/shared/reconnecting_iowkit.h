// SPDX-License-Identifier: GPL-2.0-or-later
// The controller calls as both platforms make them, with what happens when
// the controller goes away while it is open (unplugged, or its port reset
// when the machine wakes from sleep) written once. A platform tells only how
// to find and open an IO-Warrior 24 pin interface, how to write to it and
// close it, and which failures of a write mean that the controller is gone.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/iowkit.h"
#include "platform/reporter.h"
#include "platform/result.h"

namespace platform {

class PinInterfaces {
 public:
  // One opened pin interface: the platform's own token for it, and the name
  // by which it is said (a device node, a device path).
  struct Opened {
    std::uintptr_t link = 0;
    std::string path;
  };

  virtual ~PinInterfaces() = default;
  // The first IO-Warrior 24 pin interface that can be opened. When `report`
  // is set, each one of ours that exists but cannot be opened is said.
  virtual std::optional<Opened> OpenFirst(bool report) = 0;
  // Writes one report (byte 0 the report ID, `length` at least 1) and
  // returns how many of the caller's bytes went out, 0 for none.
  virtual Result<std::uint32_t> Write(std::uintptr_t link, const std::uint8_t* report,
                                      std::uint32_t length) = 0;
  virtual void Close(std::uintptr_t link) = 0;
  // Whether a failed write means that the controller is gone, not merely
  // that one report failed.
  [[nodiscard]] virtual bool MeansGone(const Failure& failure) const = 0;
};

// A controller that goes away while open is noticed at the first write that
// fails because it is gone: it is said once, and the handle stays valid.
// While it is gone nothing is sent; at most once a second (on the clock's
// monotonic seconds) a write looks for an IO-Warrior 24 pin interface again
// (it may come back under another name), and once one is found, that write
// and all later ones go to it under the same handle. It is said once that it
// is back when the first report has gone through; one that is gone again
// before that (listed for a moment only) is let go quietly, as part of the
// same loss. A platform's layer is this one on its own pin interfaces.
class ReconnectingIowkit : public Iowkit {
 public:
  ReconnectingIowkit(PinInterfaces& pins, Clock& clock, Reporter& reporter);
  // The same, owning the pin interfaces.
  ReconnectingIowkit(std::unique_ptr<PinInterfaces> pins, Clock& clock, Reporter& reporter);
  ~ReconnectingIowkit() override;
  ReconnectingIowkit(const ReconnectingIowkit&) = delete;
  ReconnectingIowkit& operator=(const ReconnectingIowkit&) = delete;

  IowkitHandle IowKitOpenDevice() override;
  std::uint32_t IowKitWrite(IowkitHandle handle, std::uint32_t pipe, const std::uint8_t* buffer,
                            std::uint32_t length) override;
  void IowKitCloseDevice(IowkitHandle handle) override;

 private:
  struct Device {
    std::optional<PinInterfaces::Opened> opened;  // empty while the controller is gone
    std::string path;                             // where it was last
    bool returning = false;                       // opened again, no report through it yet
    double last_look = 0;                         // monotonic seconds; while it is gone
  };

  // Looks for the lost controller when a second has passed since the last look.
  bool LookAgain(Device& device);

  std::unique_ptr<PinInterfaces> owned_pins_;  // empty when the caller owns them
  PinInterfaces& pins_;
  Clock& clock_;
  Reporter& reporter_;
  std::map<IowkitHandle, Device> open_;
  IowkitHandle next_handle_ = 1;
};

}  // namespace platform
