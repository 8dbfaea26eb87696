// SPDX-License-Identifier: GPL-2.0-or-later
#include "emulator/usb/iow24_function.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using emulator::usb::Answer;
using emulator::usb::ControlRequest;
using emulator::usb::Iow24Function;
using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le32(const Bytes& bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
         (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

// The requests the iowarrior driver sends, as the host puts them on the wire.
constexpr ControlRequest kSetIdle{0x21, 0x0A, 0x0000, 0, 0};
constexpr ControlRequest kSetPinReport{0x21, 0x09, 0x0200, 0, 2};
constexpr ControlRequest kSetSpecialReport{0x21, 0x09, 0x0200, 1, 8};

TEST(Iow24Function, PinReportsDriveTheDisplayModelAndReachTheListener) {
  emulator::DisplayModel model;
  std::vector<Bytes> heard;
  Iow24Function function(
      model, [&](const std::uint8_t* report) { heard.emplace_back(report, report + 3); });

  EXPECT_EQ(function.Respond(kSetIdle).kind, Answer::Kind::kAck);
  EXPECT_EQ(function.IdleRequests(), 1U);
  ASSERT_EQ(function.Respond(kSetPinReport).kind, Answer::Kind::kReceive);
  // 'A' at position 7: idle, strobe low, strobe high.
  for (const Bytes& ports : {Bytes{0xE7, 0x41}, Bytes{0xE5, 0x41}, Bytes{0xE7, 0x41}}) {
    function.Received(kSetPinReport, ports.data(), ports.size());
  }
  EXPECT_EQ(model.Shown(), "       A");
  ASSERT_EQ(heard.size(), 3U);
  EXPECT_EQ(heard[1], (Bytes{0x00, 0xE5, 0x41})) << "the report log gets report ID 0 in front";

  // GET_REPORT reads the pins back as last set.
  const Answer pins = function.Respond({0xA1, 0x01, 0x0100, 0, 2});
  EXPECT_EQ(pins.kind, Answer::Kind::kSend);
  EXPECT_EQ(pins.data, (Bytes{0xE7, 0x41}));
}

TEST(Iow24Function, TheSpecialModeInterfaceReachesNoPin) {
  emulator::DisplayModel model;
  int heard = 0;
  Iow24Function function(model, [&](const std::uint8_t*) { ++heard; });
  ASSERT_EQ(function.Respond(kSetSpecialReport).kind, Answer::Kind::kReceive);
  const Bytes clear_all(8, 0x00);
  function.Received(kSetSpecialReport, clear_all.data(), clear_all.size());
  EXPECT_EQ(function.SpecialReports(), 1U);
  EXPECT_EQ(heard, 0);
  EXPECT_EQ(model.ReportsSeen(), 0U);
  EXPECT_EQ(model.Port0(), 0xFF);
}

TEST(Iow24Function, RequestsItDoesNotKnowAreStalled) {
  emulator::DisplayModel model;
  Iow24Function function(model, nullptr);
  const std::vector<ControlRequest> refused = {
      {0x21, 0x09, 0x0200, 0, 3},  // a pin report of the wrong size
      {0x21, 0x09, 0x0300, 0, 2},  // a feature report
      {0x21, 0x09, 0x0201, 0, 2},  // report ID 1
      {0x21, 0x09, 0x0200, 2, 2},  // no interface 2
      {0x21, 0x0B, 0x0000, 0, 0},  // SET_PROTOCOL: not a boot device
      {0x81, 0x06, 0x2300, 0, 9},  // a physical descriptor
      {0x40, 0x01, 0x0000, 0, 0},  // vendor request
  };
  for (const ControlRequest& setup : refused) {
    EXPECT_EQ(function.Respond(setup).kind, Answer::Kind::kStall)
        << std::hex << int{setup.request_type} << " " << int{setup.request} << " " << setup.value
        << " " << setup.index << " " << setup.length;
  }
}

TEST(Iow24Function, DescriptorsDescribeTwoHidInterfacesWithOneInterruptInEndpointEach) {
  const Bytes report0 = Iow24Function::ReportDescriptor(0);
  emulator::DisplayModel model;
  Iow24Function function(model, nullptr);
  // GET_DESCRIPTOR for the report descriptor, cut to the host's length.
  EXPECT_EQ(function.Respond({0x81, 0x06, 0x2200, 0, 255}).data, report0);
  EXPECT_EQ(function.Respond({0x81, 0x06, 0x2200, 0, 4}).data,
            Bytes(report0.begin(), report0.begin() + 4));

  const Bytes all = Iow24Function::FunctionFsDescriptors();
  ASSERT_GE(all.size(), 20U);
  EXPECT_EQ(Le32(all, 0), 3U) << "FunctionFS descriptors, version 2";
  EXPECT_EQ(Le32(all, 4), all.size());
  EXPECT_EQ(Le32(all, 8), 3U) << "full and high speed";
  // Walk the descriptors of both speeds: each speed has an interface, HID
  // and endpoint descriptor per interface.
  std::size_t at = 20;
  for (int speed = 0; speed < 2; ++speed) {
    EXPECT_EQ(Le32(all, 12 + 4 * speed), 6U);
    for (unsigned interface = 0; interface < 2; ++interface) {
      ASSERT_LE(at + 25, all.size());
      EXPECT_EQ(Bytes(all.begin() + at, all.begin() + at + 9),
                (Bytes{9, 0x04, static_cast<std::uint8_t>(interface), 0, 1, 0x03, 0, 0, 0}));
      const std::size_t report_size = Iow24Function::ReportDescriptor(interface).size();
      EXPECT_EQ(
          Bytes(all.begin() + at + 9, all.begin() + at + 18),
          (Bytes{9, 0x21, 0x10, 0x01, 0, 1, 0x22, static_cast<std::uint8_t>(report_size), 0}));
      const std::size_t packet = interface == 0 ? 2 : 8;  // the driver's report size
      EXPECT_EQ(Bytes(all.begin() + at + 18, all.begin() + at + 24),
                (Bytes{7, 0x05, static_cast<std::uint8_t>(0x81 + interface), 0x03,
                       static_cast<std::uint8_t>(packet), 0}));
      at += 25;
    }
  }
  EXPECT_EQ(at, all.size());
  EXPECT_EQ(Iow24Function::FunctionFsStrings(),
            (Bytes{2, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
