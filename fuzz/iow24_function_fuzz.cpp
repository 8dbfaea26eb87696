// SPDX-License-Identifier: GPL-2.0-or-later
// Any control requests a host may send the emulated IO-Warrior 24: each an
// 8-byte setup packet as on the wire (bmRequestType, bRequest, then wValue,
// wIndex and wLength little-endian), followed by its data stage when the
// function asks for one (as many bytes as wLength says, or what is left).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "emulator/display_model.h"
#include "emulator/usb/iow24_function.h"

namespace {

using emulator::usb::Answer;
using emulator::usb::ControlRequest;

void Check(bool holds) {
  if (!holds) std::abort();
}

std::uint16_t Le16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] | (at[1] << 8));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  emulator::DisplayModel model;
  std::size_t heard = 0;
  emulator::usb::Iow24Function function(model, [&](const std::uint8_t* report) {
    Check(report[0] == 0 && report[1] == model.Port0() && report[2] == model.Port1());
    ++heard;
  });
  std::size_t at = 0;
  while (size - at >= 8) {
    const ControlRequest setup{data[at], data[at + 1], Le16(data + at + 2), Le16(data + at + 4),
                               Le16(data + at + 6)};
    at += 8;
    const Answer answer = function.Respond(setup);
    switch (answer.kind) {
      case Answer::Kind::kSend:
        Check(answer.data.size() <= setup.length);
        break;
      case Answer::Kind::kReceive: {
        const std::size_t stage = std::min<std::size_t>(setup.length, size - at);
        const std::size_t before = heard;
        function.Received(setup, data + at, stage);
        at += stage;
        // Only a whole pin report reaches the pins.
        Check(heard == before + (setup.index == 0 && stage == emulator::usb::kPinReportSize));
        break;
      }
      case Answer::Kind::kAck:
        Check(setup.length == 0);
        break;
      case Answer::Kind::kStall:
        break;
    }
  }
  Check(model.Shown().size() == 8);
  Check(heard <= model.ReportsSeen());
  return 0;
}
