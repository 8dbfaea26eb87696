#include "status/status_run.h"

namespace status {

const std::vector<StatusRow>& StatusRows() {
  using S = platform::Sensors;
  static const std::string kDegrees = "'C         ";
  static const std::string kVolt = " Volt         ";
  static const std::vector<StatusRow> rows = {
      {"Dieser Rechner arbeitet fuer Wendrik Pfarlow aus Morvik         ", nullptr, 0,
       CommaPlace::kNone, ""},
      {"AMD 2000 XP Prozessor mit 256 MB RAM und 64 MByte Grafik          ", nullptr, 0,
       CommaPlace::kNone, ""},
      {"Die CPU-Temperatur betraegt :", &S::GetCPUTemperature, 2, CommaPlace::kNone, kDegrees},
      {"Die Motherboard-Temperatur betraegt :", &S::GetMBTemperature, 2, CommaPlace::kNone,
       kDegrees},
      {"Die Corespannung betraegt :", &S::GetVoltIN1, 3, CommaPlace::kAfterFirst, kVolt},
      {"Die 3,3 V Spannung betraegt :", &S::GetVoltIN2, 3, CommaPlace::kAfterFirst, kVolt},
      {"Die 5 V Spannung betraegt :", &S::GetVoltIN3, 3, CommaPlace::kAfterFirst, kVolt},
      {"Die 12 V Spannung betraegt :", &S::GetVoltIN4, 3, CommaPlace::kAfterSecond, kVolt},
      {"Die CPU Luefterdrehzahl betraegt :", &S::GetFanCPURPM, 4, CommaPlace::kNone,
       " U/min         "},
  };
  return rows;
}

std::string ComposeText(const StatusRow& row, platform::Sensors& sensors) {
  if (row.sensor == nullptr) return row.label;
  const auto read = [&] { return (sensors.*row.sensor)(); };
  return row.label + ReadingText(read, row.readings, row.comma) + row.suffix;
}

void StatusRunner::StatusRun() {
  port_.ClearDisplay();
  for (const StatusRow& row : StatusRows()) {
    if (ticker_.Stopped()) return;
    ticker_.DisplayText = ComposeText(row, sensors_);
    ticker_.ScrollText();
  }
}

}  // namespace status
