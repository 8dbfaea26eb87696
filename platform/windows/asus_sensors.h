// SPDX-License-Identifier: GPL-2.0-or-later
// The motherboard readings on Windows, through the board maker's sensor
// library Asus.dll where it is installed (next to the program or on the DLL
// search path): the seven functions named in platform/sensors.h, each taking
// no argument and returning the reading. Each is looked up by its plain name,
// then stdcall-decorated ("GetCPUTemperature@0", "_GetCPUTemperature@0").
// A library that cannot be loaded (a 32-bit one, say) or that lacks
// functions is said once, naming the library and the reason, at the first
// reading; the readings it cannot give are 0.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "platform/reporter.h"
#include "platform/sensors.h"

namespace platform {

class AsusDllSensors final : public Sensors {
 public:
  // `library` is the DLL's name, or a path to it.
  explicit AsusDllSensors(Reporter& reporter, std::wstring library = L"Asus.dll");
  ~AsusDllSensors() override;
  AsusDllSensors(const AsusDllSensors&) = delete;
  AsusDllSensors& operator=(const AsusDllSensors&) = delete;

  // False when there is no such library at all: then another source is
  // better. True when it is there, loadable or not.
  [[nodiscard]] bool Found() const;

  // The function's result as it returns it (ReadingOf tells the reading).
  std::int32_t Read(Reading reading) override;
  // "C:\...\Asus.dll GetCPUTemperature"; empty for a reading it cannot give.
  [[nodiscard]] std::string Describe(Reading reading) const override;

 private:
  using Function = int(WINAPI*)();
  void Load() const;
  // Why readings show 0, for people; empty when none does.
  [[nodiscard]] std::string Missing() const;

  Reporter& reporter_;
  std::wstring library_name_;
  // Loaded on first use.
  mutable HMODULE library_ = nullptr;
  mutable bool loaded_ = false;
  mutable DWORD load_error_ = 0;
  mutable std::wstring path_;  // where the library is, when known
  mutable std::array<Function, kReadingCount> functions_{};
  mutable std::array<std::string, kReadingCount> names_{};  // the name each was found by
  mutable std::string missing_;                             // Missing(), once loaded
};

}  // namespace platform
