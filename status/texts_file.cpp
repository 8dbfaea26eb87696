// SPDX-License-Identifier: GPL-2.0-or-later
#include "status/texts_file.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <ostream>
#include <system_error>
#include <utility>

#define TOML_EXCEPTIONS 0
#define TOML_ENABLE_FORMATTERS 0
#include <toml++/toml.h>

namespace status {
namespace {

namespace fs = std::filesystem;

struct Place {
  std::size_t line = 0;
  std::size_t column = 0;
};

std::string Located(std::string_view name, Place place, std::string_view what) {
  return std::string(name) + ":" + std::to_string(place.line) + ":" + std::to_string(place.column) +
         ": " + std::string(what);
}

Place PlaceOf(const toml::source_region& region) {
  return {region.begin.line, region.begin.column};
}

// Where each character of a string value stands in the ASCII file the TOML
// parser read (Asciified below), the string's opening quote being at `begin`
// (lines and columns count from 1). Walks the string as TOML writes it:
// escapes, multi-line strings and their line-ending backslashes.
std::vector<Place> CharacterPlaces(std::string_view content, Place begin) {
  std::size_t i = 0;
  for (std::size_t line = 1; line < begin.line && i < content.size(); ++i) {
    if (content[i] == '\n') ++line;
  }
  Place at{begin.line, 1};
  const auto step = [&] {  // past one character
    if (content[i] == '\n') {
      ++at.line;
      at.column = 1;
    } else {
      ++at.column;
    }
    ++i;
  };
  while (at.column < begin.column && i < content.size()) step();

  std::vector<Place> places;
  if (i >= content.size()) return places;
  const char quote = content[i];
  const bool basic = quote == '"';
  const bool multiline = content.substr(i, 3) == std::string(3, quote);
  for (int n = multiline ? 3 : 1; n > 0; --n) step();
  if (multiline && content.substr(i, 2) == "\r\n") step();
  if (multiline && i < content.size() && content[i] == '\n') step();
  while (i < content.size()) {
    const char c = content[i];
    if (c == quote) {
      std::size_t run = 0;
      while (i + run < content.size() && content[i + run] == quote) ++run;
      if (!multiline) break;
      if (run >= 3) {
        for (std::size_t extra = run - 3; extra > 0; --extra) {
          places.push_back(at);
          step();
        }
        break;
      }
    }
    if (basic && c == '\\' && i + 1 < content.size()) {
      const char next = content[i + 1];
      if (multiline && (next == ' ' || next == '\t' || next == '\n' || next == '\r')) {
        step();  // a line-ending backslash: the blanks and line breaks after it go
        while (i < content.size() && (content[i] == ' ' || content[i] == '\t' ||
                                      content[i] == '\n' || content[i] == '\r')) {
          step();
        }
        continue;
      }
      places.push_back(at);
      const int length = next == 'u' ? 6 : next == 'U' ? 10 : 2;
      for (int n = 0; n < length && i < content.size(); ++n) step();
      continue;
    }
    places.push_back(at);
    if (c == '\r' && content.substr(i, 2) == "\r\n") step();
    step();
  }
  return places;
}

// The file as the TOML parser reads it: ASCII only. Debian's toml++ 3.3
// reaches an unreachable point on some characters beyond ASCII where it
// looks for white space, and it can look there for a character within what
// was meant as a string when the file is broken. So ä ö ü ß Ä Ö Ü in a
// string are spelled out here (as the display would), a comment's other
// characters become '?', and any other character beyond ASCII is a problem
// of its own, said here.
struct AsciiFile {
  std::string content;
  std::optional<std::pair<Place, std::string>> problem;
  // Per line, the columns (in `content`) of a spelled-out character's second
  // letter.
  std::vector<std::vector<std::size_t>> widened;

  [[nodiscard]] Place Original(Place place) const {
    if (place.line == 0 || place.line > widened.size()) return place;
    std::size_t before = 0;
    for (const std::size_t column : widened[place.line - 1])
      before += column <= place.column ? 1 : 0;
    return {place.line, place.column - before};
  }
};

AsciiFile Asciified(std::string_view content) {
  enum class In { kNothing, kComment, kBasic, kLiteral, kMultilineBasic, kMultilineLiteral };
  AsciiFile file;
  file.widened.emplace_back();
  In in = In::kNothing;
  Place at{1, 1};          // in `content`
  std::size_t column = 1;  // in file.content
  const auto starts = [&](std::size_t i, std::string_view what) {
    return content.substr(i, what.size()) == what;
  };
  const auto put = [&](std::string_view characters) {
    file.content += characters;
    column += characters.size();
  };
  for (std::size_t i = 0; i < content.size();) {
    const auto [code, length] = DecodeUtf8(content, i);
    const Place here = at;
    const char c = content[i];
    i += length;
    ++at.column;
    if (code >= 0x80) {
      const std::string_view spelled = SpelledOut(code);
      if (in == In::kComment) {
        put("?");
      } else if (in != In::kNothing && !spelled.empty()) {
        put(spelled);
        file.widened.back().push_back(column - 1);
      } else {
        const std::string character = Described(code, content.substr(i - length, length));
        file.problem.emplace(
            here, code == kNotUtf8     ? "a byte that is not UTF-8, as a texts file must be"
                  : in == In::kNothing ? character +
                                             " outside a string or a comment; a text goes "
                                             "between quotes"
                                       : character +
                                             " cannot be shown on the display, which shows "
                                             "printable ASCII and spells out \u00E4 \u00F6 "
                                             "\u00FC \u00DF \u00C4 \u00D6 \u00DC");
        return file;
      }
      continue;
    }
    put(std::string_view(&c, 1));
    if (c == '\n') {
      at = {at.line + 1, 1};
      column = 1;
      file.widened.emplace_back();
    }
    const bool multiline = in == In::kMultilineBasic || in == In::kMultilineLiteral;
    const char quote = in == In::kBasic || in == In::kMultilineBasic ? '"' : '\'';
    switch (in) {
      case In::kNothing:
        if (c == '#') in = In::kComment;
        if (c == '"') in = starts(i - 1, "\"\"\"") ? In::kMultilineBasic : In::kBasic;
        if (c == '\'') in = starts(i - 1, "'''") ? In::kMultilineLiteral : In::kLiteral;
        if (in == In::kMultilineBasic || in == In::kMultilineLiteral) {
          put(content.substr(i, 2));
          at.column += 2;
          i += 2;
        }
        break;
      case In::kComment:
        if (c == '\n') in = In::kNothing;
        break;
      default:
        if (c == '\\' && quote == '"' && i < content.size() &&
            static_cast<unsigned char>(content[i]) < 0x80 && content[i] != '\n') {
          put(content.substr(i, 1));  // an escaped character
          ++at.column;
          ++i;
        } else if (c == '\n' && !multiline) {
          in = In::kNothing;  // unterminated: the parser says so
        } else if (c == quote && (!multiline || starts(i - 1, std::string(3, quote)))) {
          // A run of quotes that closes a multi-line string ends with it.
          while (multiline && i < content.size() && content[i] == quote) {
            put(content.substr(i, 1));
            ++at.column;
            ++i;
          }
          in = In::kNothing;
        }
    }
  }
  return file;
}

platform::Failure Problem(std::string text) { return platform::Failure{0, std::move(text)}; }

fs::path PathOf(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(PathOf(path), error);
}

std::string Steps(std::size_t steps) {
  return std::to_string(steps) + (steps == 1 ? " step" : " steps");
}

}  // namespace

platform::Result<std::vector<Text>> ParseTextsDocument(std::string_view content,
                                                       std::string_view name) {
  const std::string file(name);
  if (content.size() > kMaxTextsFileBytes) {
    return Problem(file + ": the file is larger than " + std::to_string(kMaxTextsFileBytes) +
                   " bytes, the most a texts file may have");
  }
  const AsciiFile ascii = Asciified(content);
  if (ascii.problem) return Problem(Located(file, ascii.problem->first, ascii.problem->second));
  toml::parse_result parsed = toml::parse(ascii.content, std::string_view(file));
  const auto place = [&](const toml::source_region& region) {
    return ascii.Original(PlaceOf(region));
  };
  if (!parsed) {
    return Problem(Located(file, place(parsed.error().source()), parsed.error().description()));
  }
  const toml::table& table = parsed.table();
  for (auto&& [key, node] : table) {
    if (key.str() != "texts") {
      return Problem(
          Located(file, place(key.source()),
                  "unknown key '" + std::string(key.str()) + "'; a texts file has one key, texts"));
    }
  }
  const toml::node* node = table.get("texts");
  if (node == nullptr) {
    return Problem(file + ": no texts; write them as texts = [\"first text\", \"second text\"]");
  }
  const toml::array* array = node->as_array();
  if (array == nullptr) {
    return Problem(Located(file, place(node->source()), "texts is not an array of strings"));
  }
  if (array->empty()) return Problem(Located(file, place(node->source()), "texts holds no text"));
  if (array->size() > kMaxTexts) {
    return Problem(Located(file, place(node->source()),
                           "texts holds " + std::to_string(array->size()) +
                               " texts; a texts file may hold at most " +
                               std::to_string(kMaxTexts)));
  }
  std::vector<Text> texts;
  for (const toml::node& element : *array) {
    const std::string number = "text " + std::to_string(texts.size() + 1);
    const toml::value<std::string>* written = element.as_string();
    if (written == nullptr) {
      return Problem(Located(file, place(element.source()), number + " is not a string"));
    }
    ParsedText text = ParseText(written->get());
    if (text.error) {
      const std::vector<Place> places = CharacterPlaces(ascii.content, PlaceOf(element.source()));
      const Place at =
          text.error->at < places.size() ? places[text.error->at] : PlaceOf(element.source());
      return Problem(Located(file, ascii.Original(at), number + ": " + text.error->what));
    }
    texts.push_back(std::move(text.text));
  }
  return texts;
}

platform::Result<std::vector<Text>> ReadTextsFile(const std::string& path) {
  std::error_code error;
  const fs::file_status status = fs::status(PathOf(path), error);
  if (error) return Problem("cannot read " + path + ": " + error.message());
  if (fs::is_directory(status)) return Problem(path + " is a directory, not a texts file");
  // A pipe or a device could keep the run waiting for ever.
  if (!fs::is_regular_file(status)) return Problem(path + " is not a file");
  std::ifstream in(PathOf(path), std::ios::binary);
  if (!in) return Problem("cannot read " + path + ": " + std::generic_category().message(errno));
  std::string content(kMaxTextsFileBytes + 1, '\0');
  in.read(content.data(), static_cast<std::streamsize>(content.size()));
  if (in.bad())
    return Problem("cannot read " + path + ": " + std::generic_category().message(errno));
  content.resize(static_cast<std::size_t>(in.gcount()));
  return ParseTextsDocument(content, path);
}

TextsSource::TextsSource(std::string named, std::vector<std::string> places,
                         platform::MachineFacts& facts, platform::Reporter& reporter)
    : named_(std::move(named)), places_(std::move(places)), facts_(facts), reporter_(reporter) {}

platform::Result<TextsChoice> TextsSource::Read() const {
  std::string file = named_;
  for (std::size_t i = 0; file.empty() && i < places_.size(); ++i) {
    if (Exists(places_[i])) file = places_[i];
  }
  if (file.empty()) return TextsChoice{"", BuiltInTexts()};
  platform::Result<std::vector<Text>> texts = ReadTextsFile(file);
  if (!texts) return texts.Error();
  return TextsChoice{file, std::move(*texts)};
}

std::optional<std::string> TextsSource::Load() {
  platform::Result<TextsChoice> read = Read();
  if (!read) return read.Error().text;
  current_ = std::move(*read);
  return std::nullopt;
}

const std::vector<Text>& TextsSource::ForRun() {
  platform::Result<TextsChoice> read = Read();
  if (read) {
    current_ = std::move(*read);
    problem_said_.clear();
  } else if (read.Error().text != problem_said_) {
    problem_said_ = read.Error().text;
    reporter_.Say(problem_said_ + "; the display keeps the texts read before");
  }
  return current_.texts;
}

int CheckTexts(TextsSource& source, platform::Sensors& sensors, std::ostream& out,
               platform::Reporter& reporter) {
  if (const std::optional<std::string> problem = source.Load()) {
    reporter.Say(*problem);
    return 1;
  }
  if (source.Current().file.empty()) {
    out << "no texts file";
    std::string looked;
    for (const std::string& place : source.Places()) looked += (looked.empty() ? "" : ", ") + place;
    if (!looked.empty()) out << " (looked for " << looked << ")";
    out << ": the built-in texts\n";
  } else {
    out << "texts file: " << source.Current().file << '\n';
  }
  std::size_t number = 0;
  for (const Text& text : source.Current().texts) {
    const std::string shown = ComposeText(text, sensors, &source.Facts());
    const std::size_t steps = shown.size() > 8 ? shown.size() - 8 : 0;
    out << std::setw(3) << ++number << "  \"" << shown << "\"  " << Steps(steps) << '\n';
    const std::size_t blanks = shown.size() - 1 - shown.find_last_not_of(' ');
    if (steps == 0) {
      out << "     warning: 8 characters or fewer: the text shows nothing\n";
    } else if (blanks == 0) {
      out << "     warning: the display never shows a text's last character ('" << shown.back()
          << "'); end the text in at least nine blanks\n";
    } else if (blanks < 9) {
      out << "     warning: the text ends in " << blanks << (blanks == 1 ? " blank" : " blanks")
          << ", so its end does not scroll off the display; end it in at least nine blanks\n";
    }
  }
  out << std::flush;
  return 0;
}

}  // namespace status
