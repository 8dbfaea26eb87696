// SPDX-License-Identifier: GPL-2.0-or-later
// A texts file of any contents: it gives texts or says what is wrong with
// it, never more texts or longer ones than a file may hold; and whatever
// the readings and the machine's facts, a text it gives goes to the display
// in printable ASCII only.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "status/texts_file.h"
#include "tests/fakes.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);
  const auto texts = status::ParseTextsDocument(content, "texts.toml");
  if (!texts) {
    Check(texts.Error().text.rfind("texts.toml", 0) == 0);
    return 0;
  }
  Check(!texts->empty() && texts->size() <= status::kMaxTexts);
  fakes::FakeSensors sensors;
  sensors.steady = {{"GetCPUTemperature", -32768}, {"GetVoltIN4", 12160}, {"GetFanCPURPM", 65535}};
  fakes::FakeFacts facts;
  // What a machine may say of itself: the content itself, bytes and all.
  facts.host_name = std::string(content.substr(0, 64));
  facts.cpu_model = std::string(content.substr(content.size() / 2));
  for (const status::Text& text : *texts) {
    for (const char c : status::ComposeText(text, sensors, &facts)) {
      Check(c >= 0x20 && c <= 0x7E);
    }
  }
  return 0;
}
