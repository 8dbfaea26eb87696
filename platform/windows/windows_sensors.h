// SPDX-License-Identifier: GPL-2.0-or-later
// The machine's own sensors on Windows: Asus.dll, the library the program
// was written for, where it is installed and can be used (through the
// sensor host of its bitness); else LibreHardwareMonitor's web server on
// this machine. The choice is made at the first reading; a library that
// cannot be used at all is said once, and LibreHardwareMonitor is used as
// if there were none.
#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/reporter.h"
#include "platform/sensors.h"
#include "platform/shared/lhm_sensors.h"

namespace platform {

// The defaults are the program's; tests name other places. `host_folder` is
// where the sensor hosts are (empty: beside the program).
std::unique_ptr<Sensors> MakeWindowsSensors(Reporter& reporter, Clock& clock,
                                            const std::wstring& asus_library = L"Asus.dll",
                                            const std::wstring& lhm_host = L"localhost",
                                            int lhm_port = kLhmPort,
                                            const std::wstring& host_folder = {});

}  // namespace platform
