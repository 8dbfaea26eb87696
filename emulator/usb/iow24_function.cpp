// SPDX-License-Identifier: GPL-2.0-or-later
#include "emulator/usb/iow24_function.h"

#include <algorithm>
#include <array>

namespace emulator::usb {
namespace {

// Standard and HID class requests (USB 2.0 chapter 9, HID 1.11 section 7).
constexpr std::uint8_t kStandardInterfaceIn = 0x81;
constexpr std::uint8_t kClassInterfaceOut = 0x21;
constexpr std::uint8_t kClassInterfaceIn = 0xA1;
constexpr std::uint8_t kGetDescriptor = 0x06;
constexpr std::uint8_t kGetReport = 0x01;
constexpr std::uint8_t kGetIdle = 0x02;
constexpr std::uint8_t kSetReport = 0x09;
constexpr std::uint8_t kSetIdle = 0x0A;
constexpr std::uint8_t kHidDescriptorType = 0x21;
constexpr std::uint8_t kReportDescriptorType = 0x22;
constexpr std::uint8_t kInputReport = 1;
constexpr std::uint8_t kOutputReport = 2;

// FunctionFS framing (linux/usb/functionfs.h).
constexpr std::uint32_t kDescriptorsMagicV2 = 3;
constexpr std::uint32_t kStringsMagic = 2;
constexpr std::uint32_t kHasFullSpeed = 1;
constexpr std::uint32_t kHasHighSpeed = 2;

constexpr unsigned kInterfaces = 2;

std::size_t ReportSize(unsigned interface_number) {
  return interface_number == 0 ? kPinReportSize : kSpecialReportSize;
}

void PutLe16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void PutLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutLe16(out, value & 0xFFFF);
  PutLe16(out, value >> 16);
}

std::vector<std::uint8_t> HidDescriptor(unsigned interface_number) {
  std::vector<std::uint8_t> out = {9, kHidDescriptorType};
  PutLe16(out, 0x0110);  // HID 1.10
  out.push_back(0);      // no country
  out.push_back(1);      // one class descriptor: the report descriptor
  out.push_back(kReportDescriptorType);
  PutLe16(out,
          static_cast<std::uint32_t>(Iow24Function::ReportDescriptor(interface_number).size()));
  return out;
}

// Interface, HID and interrupt-IN endpoint descriptor of one interface.
void PutInterface(std::vector<std::uint8_t>& out, unsigned interface_number, bool high_speed) {
  const std::array<std::uint8_t, 9> interface = {
      9, 0x04, static_cast<std::uint8_t>(interface_number), 0, 1, 0x03, 0, 0, 0};
  out.insert(out.end(), interface.begin(), interface.end());
  const auto hid = HidDescriptor(interface_number);
  out.insert(out.end(), hid.begin(), hid.end());
  out.insert(out.end(), {7, 0x05, static_cast<std::uint8_t>(0x81 + interface_number), 0x03});
  PutLe16(out, static_cast<std::uint32_t>(ReportSize(interface_number)));
  out.push_back(high_speed ? 7 : 8);  // poll every 8 ms
}

}  // namespace

std::vector<std::uint8_t> Iow24Function::ReportDescriptor(unsigned interface_number) {
  const auto count = static_cast<std::uint8_t>(ReportSize(interface_number));
  return {
      0x06, 0x00,  0xFF,  // usage page: vendor defined
      0x09, 0x01,         // usage 1
      0xA1, 0x01,         // collection: application
      0x15, 0x00,         //   logical minimum 0
      0x26, 0xFF,  0x00,  //   logical maximum 255
      0x75, 0x08,         //   report size: 8 bits
      0x95, count,        //   report count
      0x09, 0x01,         //   usage 1
      0x81, 0x02,         //   input: the pins as read
      0x95, count,        //   report count
      0x09, 0x01,         //   usage 1
      0x91, 0x02,         //   output: the pins as set
      0xC0,               // end collection
  };
}

std::vector<std::uint8_t> Iow24Function::FunctionFsDescriptors() {
  std::vector<std::uint8_t> body;
  for (const bool high_speed : {false, true}) {
    for (unsigned interface_number = 0; interface_number < kInterfaces; ++interface_number) {
      PutInterface(body, interface_number, high_speed);
    }
  }
  constexpr std::uint32_t kPerSpeed = kInterfaces * 3;
  std::vector<std::uint8_t> out;
  PutLe32(out, kDescriptorsMagicV2);
  PutLe32(out, static_cast<std::uint32_t>(20 + body.size()));
  PutLe32(out, kHasFullSpeed | kHasHighSpeed);
  PutLe32(out, kPerSpeed);
  PutLe32(out, kPerSpeed);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

std::vector<std::uint8_t> Iow24Function::FunctionFsStrings() {
  std::vector<std::uint8_t> out;
  PutLe32(out, kStringsMagic);
  PutLe32(out, 16);
  PutLe32(out, 0);  // strings
  PutLe32(out, 0);  // languages
  return out;
}

Answer Iow24Function::Respond(const ControlRequest& setup) {
  Answer answer;
  const unsigned interface_number = setup.index;
  if (interface_number >= kInterfaces) return answer;
  const std::uint8_t type = setup.value >> 8;
  const std::uint8_t id = setup.value & 0xFF;
  const auto send = [&](std::vector<std::uint8_t> data) {
    data.resize(std::min<std::size_t>(data.size(), setup.length));
    answer.kind = Answer::Kind::kSend;
    answer.data = std::move(data);
  };

  if (setup.request_type == kStandardInterfaceIn && setup.request == kGetDescriptor) {
    if (type == kReportDescriptorType) send(ReportDescriptor(interface_number));
    if (type == kHidDescriptorType) send(HidDescriptor(interface_number));
  } else if (setup.request_type == kClassInterfaceOut) {
    if (setup.request == kSetIdle && setup.length == 0) {
      ++idle_requests_;
      answer.kind = Answer::Kind::kAck;
    } else if (setup.request == kSetReport && type == kOutputReport && id == 0 &&
               setup.length == ReportSize(interface_number)) {
      answer.kind = Answer::Kind::kReceive;
    }
  } else if (setup.request_type == kClassInterfaceIn) {
    if (setup.request == kGetReport && type == kInputReport && id == 0) {
      std::vector<std::uint8_t> pins(ReportSize(interface_number), 0);
      if (interface_number == 0) pins = {model_.Port0(), model_.Port1()};
      send(std::move(pins));
    } else if (setup.request == kGetIdle) {
      send({0});
    }
  }
  return answer;
}

void Iow24Function::Received(const ControlRequest& setup, const std::uint8_t* data,
                             std::size_t size) {
  if (setup.index != 0) {
    ++special_reports_;
    return;
  }
  if (size != kPinReportSize) return;
  const std::array<std::uint8_t, 3> report = {0, data[0], data[1]};
  model_.Feed(report.data(), report.size());
  if (on_pin_report_) on_pin_report_(report.data());
}

}  // namespace emulator::usb
