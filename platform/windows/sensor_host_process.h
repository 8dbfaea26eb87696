// SPDX-License-Identifier: GPL-2.0-or-later
// The sensor host (platform/windows/sensor_host/) as the program runs it: a
// process of its own, without window or console, joined to the program by
// a pipe that only the two of them hold, and in a job that ends it when the
// program ends, however the program ends. A call that does not come back in
// time, or that crashes the host, ends the host; Start() begins a new one.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/result.h"
#include "platform/windows/sensor_host/protocol.h"

namespace platform {

class SensorHostProcess {
 public:
  // How long one library call may take, and the host with the library's
  // loading. A text's first step may come up to half a second late and
  // still end on its whole second: a call that hangs, and the host's start
  // again (some 20 ms), fit in that.
  static constexpr DWORD kCallMs = 400;
  static constexpr DWORD kStartMs = 10000;

  SensorHostProcess() = default;
  ~SensorHostProcess();
  SensorHostProcess(const SensorHostProcess&) = delete;
  SensorHostProcess& operator=(const SensorHostProcess&) = delete;

  // Starts the host `program` on the library at the full path `library`
  // (ending any host before): what it found there.
  Result<sensor_host::Hello> Start(const std::wstring& program, const std::wstring& library);
  // One call of the function of `reading` (an index of platform::kReadings):
  // its result, or what became of it ("crashed (exception 0xC0000005)",
  // "did not return within 400 ms"); then the host is gone.
  Result<std::int32_t> Call(std::size_t reading);

  [[nodiscard]] bool Running() const;
  [[nodiscard]] DWORD ProcessId() const { return process_id_; }
  // Closes the pipe, upon which the host ends; ends it when it does not.
  void Stop();

 private:
  // Moves `size` bytes through the pipe within `ms`: ERROR_SUCCESS, the
  // system's error, or WAIT_TIMEOUT.
  DWORD Transfer(bool write, void* data, DWORD size, DWORD ms);
  // Ends the host after a failure `what`; with `ended`, the host ended by
  // itself, and the failure says how.
  Failure Lost(DWORD error, const std::string& what, bool ended = false);

  HANDLE job_ = nullptr;
  HANDLE process_ = nullptr;
  DWORD process_id_ = 0;
  HANDLE pipe_ = INVALID_HANDLE_VALUE;
  HANDLE event_ = nullptr;
};

}  // namespace platform
