// SPDX-License-Identifier: GPL-2.0-or-later
// The motherboard readings on Windows, through the board maker's sensor
// library Asus.dll where it is installed (next to the program or on the DLL
// search path): the seven functions named in platform/sensors.h, each taking
// no argument and returning the reading, looked up by their plain names,
// then stdcall-decorated ("GetCPUTemperature@0", "_GetCPUTemperature@0").
//
// The program never loads the library itself: a sensor host of the
// library's bitness (32 or 64, from its PE header) does, started at the
// first reading and kept, and every reading is one call of the library's
// function in the host. A call that crashes or does not return in time
// shows 0 and is said once, naming the library and the function; the host
// it ended is started again at the next reading, so that the other
// functions go on giving theirs. The failed function is set aside (not
// called, its reading 0) for the rest of the run and tried again at the
// next; one that fails in kRunsInARow runs in a row is set aside until the
// program starts again, which is said once. A host that fails at its start
// is tried again at most once a minute (on the program's clock). Functions
// the library lacks are said once, at the first reading; they show 0.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/reporter.h"
#include "platform/sensors.h"
#include "platform/windows/sensor_host/protocol.h"
#include "platform/windows/sensor_host_process.h"

namespace platform {

class AsusDllSensors final : public Sensors {
 public:
  // `library` is the DLL's name, or a path to it; `host_folder` is where the
  // sensor hosts are (empty: beside the program).
  AsusDllSensors(Reporter& reporter, Clock& clock, std::wstring library = L"Asus.dll",
                 std::wstring host_folder = {});

  // False when there is no such library at all: then another source is
  // better. Starts nothing.
  [[nodiscard]] bool Found() const;
  // Why the library cannot be used at all (no host of its kind, it loads in
  // neither bitness, or it has none of the seven functions), for people;
  // empty when it can. Starts the host.
  [[nodiscard]] std::string Unusable() const;

  // The function's result as it returns it (ReadingOf tells the reading).
  std::int32_t Read(Reading reading) override;
  // "C:\...\Asus.dll GetCPUTemperature (32-bit, through the sensor host)";
  // empty for a reading it cannot give.
  [[nodiscard]] std::string Describe(Reading reading) const override;
  // Tries again the functions set aside for the run before.
  void RunStarts() override;

  // The host's process, while there is one (for tests).
  [[nodiscard]] DWORD HostProcessId() const { return host_.ProcessId(); }

  // Seconds from one start of the host that failed to the next, at least.
  static constexpr double kRestartSeconds = 60.0;
  // Runs in a row in which a function fails before it is set aside for good.
  static constexpr int kRunsInARow = 3;

 private:
  // Starts the host, the first time or again.
  void Start() const;
  // Whether the host can take `reading` now: it runs, or it is started again.
  bool Ready(Reading reading);
  // "Asus.dll (C:\...\Asus.dll)", for messages.
  [[nodiscard]] std::string LibraryText() const;
  // The function of `reading` as the library names it ("GetVoltIN2@0").
  [[nodiscard]] std::string Function(Reading reading) const;
  // "Asus.dll (C:\...\Asus.dll) GetVoltIN2 (3.3 V rail)", for messages.
  [[nodiscard]] std::string FunctionText(Reading reading) const;

  Reporter& reporter_;
  Clock& clock_;
  std::wstring library_name_;
  std::wstring host_folder_;

  mutable SensorHostProcess host_;
  mutable bool started_ = false;
  mutable double started_at_ = 0.0;  // monotonic seconds of the last start
  mutable std::wstring path_;        // where the library is, when found
  mutable int bits_ = 0;
  mutable sensor_host::Hello hello_{};
  mutable std::string unusable_;       // Unusable(), after a start
  std::optional<Reading> last_;        // the reading taken last
  mutable bool lost_in_call_ = false;  // the host ended in a call, not at its start
  // Per reading: set aside for this run; for good; and the runs in a row in
  // which its function failed.
  std::array<bool, kReadingCount> aside_{};
  std::array<bool, kReadingCount> for_good_{};
  std::array<int, kReadingCount> failed_runs_{};
};

}  // namespace platform
