// SPDX-License-Identifier: GPL-2.0-or-later
#include "status/texts.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <utility>

#include "status/status_run.h"

namespace status {
namespace {

struct FieldName {
  std::string_view name;
  Field field;
  platform::Reading reading;
};

using R = platform::Reading;
constexpr std::array<FieldName, 12> kFieldNames = {{
    {"cpu-temperature", Field::kReading, R::kCpuTemperature},
    {"board-temperature", Field::kReading, R::kBoardTemperature},
    {"core-voltage", Field::kReading, R::kCoreVoltage},
    {"rail-3v3", Field::kReading, R::kRail3V3},
    {"rail-5v", Field::kReading, R::kRail5V},
    {"rail-12v", Field::kReading, R::kRail12V},
    {"cpu-fan", Field::kReading, R::kCpuFan},
    {"hostname", Field::kHostName, R::kCpuTemperature},
    {"cpu-model", Field::kCpuModel, R::kCpuTemperature},
    {"memory-mb", Field::kMemoryMb, R::kCpuTemperature},
    {"time", Field::kTime, R::kCpuTemperature},
    {"date", Field::kDate, R::kCpuTemperature},
}};

constexpr bool Printable(char32_t c) { return c >= 0x20 && c <= 0x7E; }

bool NameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_';
}

std::string TwoDigits(int value) {
  std::array<char, 8> text{};
  std::snprintf(text.data(), text.size(), "%02d", value);
  return text.data();
}

std::string Fact(Field field, platform::MachineFacts* facts) {
  if (facts == nullptr) return field == Field::kMemoryMb ? "0" : "";
  switch (field) {
    case Field::kHostName:
      return DisplayableText(facts->HostName());
    case Field::kCpuModel:
      return DisplayableText(facts->CpuModel());
    case Field::kMemoryMb:
      return std::to_string(facts->MemoryMegabytes());
    case Field::kTime: {
      const platform::LocalTime now = facts->Now();
      return TwoDigits(now.hour) + ":" + TwoDigits(now.minute);
    }
    case Field::kDate: {
      const platform::LocalTime now = facts->Now();
      return TwoDigits(now.day) + "." + TwoDigits(now.month) + "." + std::to_string(now.year);
    }
    default:
      return "";
  }
}

}  // namespace

std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  if (lead < 0x80) return {lead, 1};
  const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || at + length > text.size()) return {kNotUtf8, 1};
  char32_t c = lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return {kNotUtf8, 1};
    c = (c << 6) | (byte(at + i) & 0x3F);
  }
  constexpr std::array<char32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {kNotUtf8, 1};
  return {c, length};
}

std::string_view SpelledOut(char32_t c) {
  switch (c) {
    case U'ä':
      return "ae";
    case U'ö':
      return "oe";
    case U'ü':
      return "ue";
    case U'ß':
      return "ss";
    case U'Ä':
      return "Ae";
    case U'Ö':
      return "Oe";
    case U'Ü':
      return "Ue";
    default:
      return {};
  }
}

std::string Described(char32_t c, std::string_view bytes) {
  if (c == kNotUtf8) return "a byte that is not UTF-8";
  if (c == U'\t') return "a tab";
  if (c == U'\n' || c == U'\r') return "a line break";
  std::array<char, 16> code{};
  std::snprintf(code.data(), code.size(), "U+%04X", static_cast<unsigned>(c));
  if (c < 0x20 || (c >= 0x7F && c < 0xA0))
    return "the control character " + std::string(code.data());
  std::string described(1, '\'');
  described.append(bytes).append("' (").append(code.data()).append(")");
  return described;
}

const std::vector<Text>& BuiltInTexts() {
  static const std::vector<Text> texts = [] {
    std::vector<Text> built;
    for (const StatusRow& row : StatusRows()) {
      if (!row.reading) {
        built.push_back({{row.label}});
      } else {
        built.push_back({{row.label, Field::kReading, *row.reading}, {row.suffix}});
      }
    }
    return built;
  }();
  return texts;
}

std::string FieldList() {
  std::string list;
  for (const FieldName& f : kFieldNames) {
    if (!list.empty()) list += ", ";
    list.append("{").append(f.name).append("}");
  }
  return list;
}

ParsedText ParseText(std::string_view written) {
  ParsedText parsed;
  Text& text = parsed.text;
  text.emplace_back();
  const auto fail = [&](std::size_t at, std::string what) {
    parsed.error = TextError{at, std::move(what)};
    return parsed;
  };
  std::size_t character = 0;
  for (std::size_t i = 0; i < written.size(); ++character) {
    if (character >= kMaxTextCharacters) {
      return fail(character, "the text is longer than " + std::to_string(kMaxTextCharacters) +
                                 " characters, the most a text may have");
    }
    const char c = written[i];
    const bool doubled = i + 1 < written.size() && written[i + 1] == c;
    if ((c == '{' || c == '}') && doubled) {
      text.back().characters += c;
      i += 2;
      ++character;
      continue;
    }
    if (c == '}') return fail(character, "'}' closes no field; write }} for a brace");
    if (c == '{') {
      std::size_t end = i + 1;
      while (end < written.size() && NameCharacter(written[end])) ++end;
      if (end == written.size() || written[end] != '}') {
        return fail(character, "'{' opens no field; write a field as {name}, and {{ for a brace");
      }
      const std::string_view name = written.substr(i + 1, end - i - 1);
      const FieldName* known = nullptr;
      for (const FieldName& f : kFieldNames) {
        if (f.name == name) known = &f;
      }
      if (known == nullptr) {
        return fail(character,
                    "unknown field {" + std::string(name) + "}; the fields are " + FieldList());
      }
      text.back().field = known->field;
      text.back().reading = known->reading;
      text.emplace_back();
      character += end - i;
      i = end + 1;
      continue;
    }
    const auto [code, length] = DecodeUtf8(written, i);
    if (Printable(code)) {
      text.back().characters += c;
    } else if (const std::string_view spelled = SpelledOut(code); !spelled.empty()) {
      text.back().characters += spelled;
    } else {
      return fail(character, Described(code, written.substr(i, length)) +
                                 " cannot be shown on the display, which shows printable ASCII"
                                 " and spells out \u00E4 \u00F6 \u00FC \u00DF \u00C4"
                                 " \u00D6 \u00DC");
    }
    i += length;
  }
  if (text.size() > 1 && text.back().characters.empty()) text.pop_back();
  return parsed;
}

std::string DisplayableText(std::string_view utf8) {
  std::string shown;
  bool blank = false;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto [code, length] = DecodeUtf8(utf8, i);
    i += length;
    std::string_view add;
    if (code == U' ' || code == U'\t' || code == U'\n' || code == U'\r' || code == 0xA0) {
      blank = true;
      continue;
    }
    if (Printable(code)) {
      add = utf8.substr(i - length, 1);
    } else if (code == U'®') {
      add = "(R)";
    } else if (code == U'™') {
      add = "(TM)";
    } else if (code == U'©') {
      add = "(C)";
    } else {
      add = SpelledOut(code);
    }
    if (add.empty()) continue;
    if (blank && !shown.empty()) shown += ' ';
    blank = false;
    shown += add;
  }
  return shown;
}

std::string ComposeText(const Text& text, platform::Sensors& sensors,
                        platform::MachineFacts* facts) {
  std::string composed;
  for (const Piece& piece : text) {
    composed += piece.characters;
    if (piece.field == Field::kReading) {
      if (const StatusRow* row = RowOf(piece.reading)) {
        composed +=
            ReadingText([&] { return sensors.Read(piece.reading); }, row->readings, row->comma);
      }
    } else if (piece.field != Field::kNone) {
      composed += Fact(piece.field, facts);
    }
  }
  return composed;
}

}  // namespace status
