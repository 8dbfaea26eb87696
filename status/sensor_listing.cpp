// SPDX-License-Identifier: GPL-2.0-or-later
#include "status/sensor_listing.h"

#include <iomanip>
#include <ostream>
#include <string>

#include "status/reading_text.h"
#include "status/status_run.h"

namespace status {
namespace {

const char* UnitOf(platform::Reading reading) {
  switch (reading) {
    case platform::Reading::kCpuTemperature:
    case platform::Reading::kBoardTemperature:
      return "\xC2\xB0"
             "C";
    case platform::Reading::kCpuFan:
      return "rpm";
    default:
      return "mV";
  }
}

// Pads UTF-8 text to `width` characters.
std::string Padded(const std::string& text, std::size_t width) {
  std::size_t characters = 0;
  for (const char c : text) {
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
  }
  return text + std::string(characters < width ? width - characters : 1, ' ');
}

}  // namespace

void ListSensors(platform::Sensors& sensors, std::ostream& out) {
  out << Padded("reading", 25) << Padded("now", 12) << Padded("shown", 8) << "source\n";
  for (const platform::ReadingInfo& info : platform::kReadings) {
    const std::string source = sensors.Describe(info.reading);
    const std::int16_t now = platform::ReadingOf(sensors.Read(info.reading));
    const StatusRow* row = RowOf(info.reading);
    const std::string shown =
        row == nullptr ? "" : ReadingText([now] { return now; }, row->readings, row->comma);
    const std::string reason = sensors.Reason(info.reading);
    out << Padded(info.name, 25) << Padded(std::to_string(now) + " " + UnitOf(info.reading), 12)
        << Padded(shown, 8) << (source.empty() ? "none, shows 0" : source)
        << (source.empty() || reason.empty() ? "" : " \xE2\x80\x94 " + reason) << '\n';
    if (!source.empty()) continue;
    for (const std::string& passed : sensors.PassedOver(info.reading)) {
      out << std::string(25 + 12 + 8, ' ') << "passed over: " << passed << '\n';
    }
  }
  out << std::flush;
}

}  // namespace status
