// SPDX-License-Identifier: GPL-2.0-or-later
#include "status/status_run.h"

#include "status/texts.h"
#include "status/texts_file.h"

namespace status {

const std::vector<StatusRow>& StatusRows() {
  using R = platform::Reading;
  static const std::string kDegrees = "'C         ";
  static const std::string kVolt = " Volt         ";
  static const std::vector<StatusRow> rows = {
      {"Dieser Rechner arbeitet fuer Wendrik Pfarlow aus Morvik         ", std::nullopt, 0,
       CommaPlace::kNone, ""},
      {"AMD 2000 XP Prozessor mit 256 MB RAM und 64 MByte Grafik          ", std::nullopt, 0,
       CommaPlace::kNone, ""},
      {"Die CPU-Temperatur betraegt :", R::kCpuTemperature, 2, CommaPlace::kNone, kDegrees},
      {"Die Motherboard-Temperatur betraegt :", R::kBoardTemperature, 2, CommaPlace::kNone,
       kDegrees},
      {"Die Corespannung betraegt :", R::kCoreVoltage, 3, CommaPlace::kAfterFirst, kVolt},
      {"Die 3,3 V Spannung betraegt :", R::kRail3V3, 3, CommaPlace::kAfterFirst, kVolt},
      {"Die 5 V Spannung betraegt :", R::kRail5V, 3, CommaPlace::kAfterFirst, kVolt},
      {"Die 12 V Spannung betraegt :", R::kRail12V, 3, CommaPlace::kAfterSecond, kVolt},
      {"Die CPU Luefterdrehzahl betraegt :", R::kCpuFan, 4, CommaPlace::kNone, " U/min         "},
  };
  return rows;
}

const StatusRow* RowOf(platform::Reading reading) {
  for (const StatusRow& row : StatusRows()) {
    if (row.reading == reading) return &row;
  }
  return nullptr;
}

void StatusRunner::StatusRun() {
  const std::vector<Text>& texts = texts_ != nullptr ? texts_->ForRun() : BuiltInTexts();
  platform::MachineFacts* facts = texts_ != nullptr ? &texts_->Facts() : nullptr;
  sensors_.RunStarts();
  port_.ClearDisplay();
  for (const Text& text : texts) {
    if (ticker_.Stopped()) return;
    ticker_.DisplayText = ComposeText(text, sensors_, facts);
    ticker_.ScrollText();
  }
}

}  // namespace status
