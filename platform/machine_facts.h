// SPDX-License-Identifier: GPL-2.0-or-later
// What a texts file's machine fields show ({hostname}, {cpu-model},
// {memory-mb}, {time}, {date}), and where the machine keeps its texts file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct LocalTime {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
  int hour = 0;
  int minute = 0;
};

class MachineFacts {
 public:
  virtual ~MachineFacts() = default;
  // As the system has them, UTF-8; empty when unknown.
  virtual std::string HostName() = 0;
  virtual std::string CpuModel() = 0;
  // Total memory in MB (2^20 bytes); 0 when unknown.
  virtual std::uint64_t MemoryMegabytes() = 0;
  virtual LocalTime Now() = 0;
  // The texts files looked for, in order, when none is named (UTF-8 paths).
  [[nodiscard]] virtual std::vector<std::string> TextsFilePlaces() const = 0;
};

}  // namespace platform
