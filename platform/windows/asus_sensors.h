// The motherboard readings on Windows, through the board maker's sensor
// library Asus.dll where it is installed (next to the program or on the DLL
// search path): the seven functions named in platform/sensors.h, each taking
// no argument and returning the reading. Without the library, or without one
// of its functions, the reading is 0, said once on the error stream.
#pragma once

#include <windows.h>

#include <array>
#include <iosfwd>
#include <string>

#include "platform/sensors.h"

namespace platform {

class AsusDllSensors final : public Sensors {
 public:
  // `library` is the DLL's name; the library is loaded at the first reading.
  explicit AsusDllSensors(std::ostream& errors, std::wstring library = L"Asus.dll");
  ~AsusDllSensors() override;
  AsusDllSensors(const AsusDllSensors&) = delete;
  AsusDllSensors& operator=(const AsusDllSensors&) = delete;

  std::int32_t Read(Reading reading) override;
  [[nodiscard]] std::string Describe(Reading reading) const override;

 private:
  using Function = int(WINAPI*)();
  void Load() const;

  std::ostream& errors_;
  std::wstring library_name_;
  // Loaded on first use, by a reading or a description.
  mutable HMODULE library_ = nullptr;
  mutable bool loaded_ = false;
  mutable std::array<Function, kReadingCount> functions_{};
  std::array<bool, kReadingCount> said_{};
};

}  // namespace platform
