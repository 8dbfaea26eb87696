// SPDX-License-Identifier: GPL-2.0-or-later
// Any command line, one argument a line, handled as both programs handle it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "app/command_line.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> arguments;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    arguments.emplace_back(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  }

  for (const Accepts accepts : {Accepts{false, true}, Accepts{true, true}, Accepts{true, false}}) {
    const bool demo = accepts.demo;
    const std::string_view program = demo ? platform::kStatusanzeigeDemo : platform::kStatusanzeige;
    std::ostringstream out;
    std::ostringstream errors;
    platform::Reporter reporter(program, errors);
    CommandLine line;
    const auto status = HandleCommandLine(arguments, accepts, out, reporter, &line);
    if (!ParseCommandLine(arguments, accepts)) {
      // Wrong arguments: status 2 and one message on the error stream only.
      Check(status == 2 && out.str().empty());
      const std::string message = errors.str();
      Check(message.rfind(std::string(program) + ": ", 0) == 0 && message.back() == '\n');
      continue;
    }
    Check(errors.str().empty());
    Check(status.has_value() == (line.help || line.version));
    if (status) Check(*status == 0 && !out.str().empty());
    if (!demo) Check(!line.system_sensors && line.report_log.empty());
  }
  return 0;
}
