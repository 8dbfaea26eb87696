// SPDX-License-Identifier: GPL-2.0-or-later
// Everything the program says goes through one Reporter: it knows the name
// of the program that runs, begins each line with it and flushes the line,
// and says a message meant once only once. No other part of the program
// writes the program's name.
#pragma once

#include <iosfwd>
#include <set>
#include <string>
#include <string_view>

namespace platform {

// The two programs, as they name themselves.
inline constexpr std::string_view kStatusanzeige = "statusanzeige";
inline constexpr std::string_view kStatusanzeigeDemo = "statusanzeige-demo";

class Reporter {
 public:
  Reporter(std::string_view program, std::ostream& errors);

  [[nodiscard]] const std::string& Program() const { return program_; }

  // One line: "<program>: <message>".
  void Say(std::string_view message);
  // The same, the first time `key` comes; later calls with the same key say
  // nothing. Returns whether it said it.
  bool SayOnce(std::string_view key, std::string_view message);

 private:
  std::string program_;
  std::ostream& errors_;
  std::set<std::string, std::less<>> said_;
};

}  // namespace platform
