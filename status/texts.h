// SPDX-License-Identifier: GPL-2.0-or-later
// The texts a run shows, as their user writes them: characters shown as they
// stand, and fields ({cpu-temperature}, {hostname}, ...) filled in when the
// text comes up. The built-in table is such a list too.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/machine_facts.h"
#include "platform/sensors.h"

namespace status {

enum class Field { kNone, kReading, kHostName, kCpuModel, kMemoryMb, kTime, kDate };

// Characters shown as they stand, then a field (or none).
struct Piece {
  std::string characters;
  Field field = Field::kNone;
  platform::Reading reading = platform::Reading::kCpuTemperature;  // of a kReading field
  bool operator==(const Piece&) const = default;
};
using Text = std::vector<Piece>;

// The longest text a user may write, in characters.
inline constexpr std::size_t kMaxTextCharacters = 1000;

// The built-in table's nine texts.
const std::vector<Text>& BuiltInTexts();

// "{cpu-temperature}, {board-temperature}, ..., {date}": every field, for messages.
std::string FieldList();

// What is wrong with a written text, at which of its characters (counted
// from 0, one per Unicode character).
struct TextError {
  std::size_t at = 0;
  std::string what;
};

struct ParsedText {
  Text text;
  std::optional<TextError> error;
};

// A text as written, in UTF-8: printable ASCII, ä ö ü ß Ä Ö Ü spelled out
// ("ae", ..., "Ue"), fields written {name}, and {{ and }} for braces.
ParsedText ParseText(std::string_view written);

// The Unicode character at `text[at]` and its length in bytes; an invalid
// sequence is kNotUtf8, one byte long.
inline constexpr char32_t kNotUtf8 = 0xFFFFFFFF;
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view text, std::size_t at);

// How the display spells a character it has no code for (ä is "ae", ...);
// nothing when it has none.
std::string_view SpelledOut(char32_t c);

// A character for messages: "a tab", "'é' (U+00E9)", ...; `bytes` are its
// UTF-8.
std::string Described(char32_t c, std::string_view bytes);

// A value of the machine's as the display can show it: printable ASCII as
// it stands, umlauts spelled out, ® ™ © as (R) (TM) (C), each run of white
// space as one blank, no blank at either end; anything else is left out.
std::string DisplayableText(std::string_view utf8);

// Fills in the text's fields now, in their order: each reading takes its
// row's readings from `sensors` (as the table's own texts do), each fact
// comes from `facts` (empty, or 0, without facts).
std::string ComposeText(const Text& text, platform::Sensors& sensors,
                        platform::MachineFacts* facts);

}  // namespace status
