// SPDX-License-Identifier: GPL-2.0-or-later
// Fetches LibreHardwareMonitor's data.json over WinHTTP, within a short time
// budget: the program waits for it on the window's thread.
#pragma once

#include <windows.h>

#include <string>

#include "platform/result.h"

namespace platform {

class LhmFetcher {
 public:
  // `budget_ms` bounds each wait (connecting, sending, the answer's first
  // byte and each further one) and the whole request.
  LhmFetcher(std::wstring host, int port, std::wstring path, int budget_ms = 100);
  ~LhmFetcher();
  LhmFetcher(const LhmFetcher&) = delete;
  LhmFetcher& operator=(const LhmFetcher&) = delete;

  // data.json, or why there is none, e.g. "no answer within 100 ms".
  Result<std::string> Fetch();

 private:
  std::wstring host_;
  int port_;
  std::wstring path_;
  int budget_ms_;
  void* session_ = nullptr;  // HINTERNET
};

}  // namespace platform
