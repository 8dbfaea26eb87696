// SPDX-License-Identifier: GPL-2.0-or-later
// iow24-gadget: an emulated IO-Warrior 24 on the Linux USB gadget stack. It
// answers the control requests of a FunctionFS function (mounted at the
// folder it is given) and drives a display model with every report that
// reaches the pin interface, so that the kernel's iowarrior driver on the
// host side of the gadget sees a real-looking device.
//
//   iow24-gadget FFS_FOLDER --report-log FILE [--display-log FILE] [--events FILE]
//
// The report log has the format of statusanzeige-demo's --report-log; the
// display log has one line per report with the eight characters shown after
// it, between bars; the event log tells the gadget's bind and unbind events
// and any report on the special-mode interface. Once the descriptors are
// written the program prints "ready" on standard output.
#include <endian.h>
#include <fcntl.h>
#include <linux/usb/functionfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "emulator/display_model.h"
#include "emulator/emulated_iowkit.h"
#include "emulator/usb/iow24_function.h"

namespace {

std::FILE* OpenLog(const char* path) {
  std::FILE* file = std::fopen(path, "a");
  if (file == nullptr) std::fprintf(stderr, "iow24-gadget: %s: %s\n", path, std::strerror(errno));
  return file;
}

bool WriteAll(int fd, const std::vector<std::uint8_t>& data) {
  return ::write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size());
}

const char* EventName(unsigned type) {
  switch (type) {
    case FUNCTIONFS_BIND:
      return "bind";
    case FUNCTIONFS_UNBIND:
      return "unbind";
    case FUNCTIONFS_ENABLE:
      return "enable";
    case FUNCTIONFS_DISABLE:
      return "disable";
    case FUNCTIONFS_SUSPEND:
      return "suspend";
    case FUNCTIONFS_RESUME:
      return "resume";
    default:
      return "unknown";
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  std::string folder;
  const char* report_path = nullptr;
  const char* display_path = nullptr;
  const char* events_path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (i + 1 < argc && argument == "--report-log") {
      report_path = argv[++i];
    } else if (i + 1 < argc && argument == "--display-log") {
      display_path = argv[++i];
    } else if (i + 1 < argc && argument == "--events") {
      events_path = argv[++i];
    } else if (folder.empty() && argument.rfind("--", 0) != 0) {
      folder = argument;
    } else {
      folder.clear();
      break;
    }
  }
  if (folder.empty() || report_path == nullptr) {
    std::fprintf(stderr,
                 "usage: iow24-gadget FFS_FOLDER --report-log FILE [--display-log FILE] "
                 "[--events FILE]\n");
    return 2;
  }
  std::FILE* report_file = OpenLog(report_path);
  std::FILE* display_file = display_path != nullptr ? OpenLog(display_path) : nullptr;
  std::FILE* events_file = events_path != nullptr ? OpenLog(events_path) : nullptr;
  if (report_file == nullptr || (display_path != nullptr && display_file == nullptr) ||
      (events_path != nullptr && events_file == nullptr)) {
    return 1;
  }

  const std::string ep0_path = folder + "/ep0";
  const int ep0 = ::open(ep0_path.c_str(), O_RDWR | O_CLOEXEC);
  if (ep0 < 0) {
    std::fprintf(stderr, "iow24-gadget: %s: %s\n", ep0_path.c_str(), std::strerror(errno));
    return 1;
  }
  if (!WriteAll(ep0, emulator::usb::Iow24Function::FunctionFsDescriptors()) ||
      !WriteAll(ep0, emulator::usb::Iow24Function::FunctionFsStrings())) {
    std::fprintf(stderr, "iow24-gadget: writing the descriptors: %s\n", std::strerror(errno));
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);

  emulator::DisplayModel model;
  emulator::ReportLog report_log(report_file, emulator::EpochSeconds);
  emulator::usb::Iow24Function function(model, [&](const std::uint8_t* report) {
    report_log.Write(report);
    if (display_file != nullptr) {
      std::fprintf(display_file, "|%s|\n", model.Shown().c_str());
      std::fflush(display_file);
    }
  });
  const auto note = [&](const std::string& line) {
    if (events_file == nullptr) return;
    std::fprintf(events_file, "%.6f %s\n", emulator::EpochSeconds(), line.c_str());
    std::fflush(events_file);
  };

  std::array<usb_functionfs_event, 4> events{};
  for (;;) {
    const ssize_t got = ::read(ep0, events.data(), sizeof(events));
    if (got < 0) {
      if (errno == EINTR) continue;
      // FunctionFS says once, with EIDRM, that the host gave up on a request
      // before we answered it (a SET_REPORT under a reconnect, say); the
      // next read goes on with the events as usual.
      if (errno == EIDRM) {
        note("a request was cancelled by the host");
        continue;
      }
      std::fprintf(stderr, "iow24-gadget: reading events: %s\n", std::strerror(errno));
      return 1;
    }
    for (std::size_t i = 0; i < static_cast<std::size_t>(got) / sizeof(usb_functionfs_event); ++i) {
      const usb_functionfs_event& event = events[i];
      if (event.type != FUNCTIONFS_SETUP) {
        note(EventName(event.type));
        continue;
      }
      const emulator::usb::ControlRequest setup{
          event.u.setup.bRequestType, event.u.setup.bRequest, le16toh(event.u.setup.wValue),
          le16toh(event.u.setup.wIndex), le16toh(event.u.setup.wLength)};
      const bool to_host = (setup.request_type & 0x80) != 0;
      const emulator::usb::Answer answer = function.Respond(setup);
      std::array<std::uint8_t, 64> data{};
      // A request the host has given up on fails here; that is worth a line.
      const auto check = [&](ssize_t result, const char* what) {
        if (result < 0) note(std::string(what) + " failed: " + std::strerror(errno));
      };
      using Kind = emulator::usb::Answer::Kind;
      switch (answer.kind) {
        case Kind::kStall: {
          // FunctionFS stalls ep0 when it is used against the request's
          // direction, and says so with EL2HLT.
          const ssize_t result =
              to_host ? ::read(ep0, data.data(), 0) : ::write(ep0, data.data(), 0);
          if (result < 0 && errno != EL2HLT) check(result, "stall");
          break;
        }
        case Kind::kAck:
          check(::read(ep0, data.data(), 0), "status stage");
          note("request " + std::to_string(setup.request_type) + " " +
               std::to_string(setup.request) + " acknowledged");
          break;
        case Kind::kReceive: {
          const ssize_t received =
              ::read(ep0, data.data(), std::min<std::size_t>(setup.length, data.size()));
          check(received, "data stage");
          if (received == setup.length) {
            const std::size_t before = function.SpecialReports();
            function.Received(setup, data.data(), static_cast<std::size_t>(received));
            if (function.SpecialReports() != before) note("report on the special-mode interface");
          }
          break;
        }
        case Kind::kSend:
          check(::write(ep0, answer.data.data(), answer.data.size()), "data stage");
          break;
      }
    }
  }
}
