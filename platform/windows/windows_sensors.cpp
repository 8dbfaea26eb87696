// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/windows_sensors.h"

#include "platform/windows/asus_sensors.h"
#include "platform/windows/lhm_fetch.h"
#include "platform/windows/text.h"

namespace platform {

std::unique_ptr<Sensors> MakeWindowsSensors(Reporter& reporter, Clock& clock,
                                            const std::wstring& asus_library,
                                            const std::wstring& lhm_host, int lhm_port) {
  auto asus = std::make_unique<AsusDllSensors>(reporter, asus_library);
  if (asus->Found()) return asus;
  auto fetcher = std::make_shared<LhmFetcher>(lhm_host, lhm_port, Widen(kLhmPath));
  const std::string url = "http://" + Narrow(lhm_host) + ":" + std::to_string(lhm_port) + kLhmPath;
  return std::make_unique<LhmSensors>(
      [fetcher] { return fetcher->Fetch(); }, url, clock, reporter,
      Narrow(asus_library) + " (not beside the program, nor on the DLL search path); ",
      "To use one, put Asus.dll beside the program, or start LibreHardwareMonitor with its "
      "web server on (Options > Remote Web Server > Run).");
}

}  // namespace platform
