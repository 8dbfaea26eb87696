// SPDX-License-Identifier: GPL-2.0-or-later
// A user's own texts, from a texts file in TOML: one key, `texts`, an array
// of strings shown in that order. The file is read at the start of every
// run, so an edit shows from the next run on; without a file the run shows
// the built-in table.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine_facts.h"
#include "platform/reporter.h"
#include "platform/result.h"
#include "platform/sensors.h"
#include "status/texts.h"

namespace status {

// What a texts file may hold at the most (kMaxTextCharacters per text).
inline constexpr std::size_t kMaxTextsFileBytes = 64 * 1024;
inline constexpr std::size_t kMaxTexts = 100;

// A texts file's contents as texts. A failure says where and what is wrong,
// as "NAME:LINE:COLUMN: what" (or "NAME: what" where no place fits).
platform::Result<std::vector<Text>> ParseTextsDocument(std::string_view content,
                                                       std::string_view name);

// Reads and parses the file at `path` (UTF-8).
platform::Result<std::vector<Text>> ReadTextsFile(const std::string& path);

struct TextsChoice {
  std::string file;         // the texts file read; empty: the built-in table
  std::vector<Text> texts;  // what the runs show
};

class TextsSource {
 public:
  // `named` (--texts FILE) is read, or else the first of `places` that
  // exists, or else there is no file.
  TextsSource(std::string named, std::vector<std::string> places, platform::MachineFacts& facts,
              platform::Reporter& reporter);

  // At start-up: reads the texts. Returns what makes the file unusable,
  // naming the file, line and column.
  std::optional<std::string> Load();

  // At the start of each run: the texts read now. A file that has become
  // unusable keeps the texts read before, and its problem is said once,
  // until the file is mended.
  const std::vector<Text>& ForRun();

  [[nodiscard]] const TextsChoice& Current() const { return current_; }
  [[nodiscard]] const std::vector<std::string>& Places() const { return places_; }
  platform::MachineFacts& Facts() { return facts_; }

 private:
  platform::Result<TextsChoice> Read() const;

  std::string named_;
  std::vector<std::string> places_;
  platform::MachineFacts& facts_;
  platform::Reporter& reporter_;
  TextsChoice current_{"", BuiltInTexts()};
  std::string problem_said_;  // the problem said last, until a read succeeds
};

// --check-texts: says which file was read, then each text as it would go to
// the display now (fields filled in, readings taken), with a warning for a
// text that shows nothing or whose end never reaches the display. Returns the
// exit status: 0 when the texts are usable, 1 (after saying why) when not.
int CheckTexts(TextsSource& source, platform::Sensors& sensors, std::ostream& out,
               platform::Reporter& reporter);

}  // namespace status
