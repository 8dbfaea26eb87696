// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/reporter.h"

#include <ostream>

namespace platform {

Reporter::Reporter(std::string_view program, std::ostream& errors)
    : program_(program), errors_(errors) {}

void Reporter::Say(std::string_view message) {
  errors_ << program_ << ": " << message << '\n' << std::flush;
}

bool Reporter::SayOnce(std::string_view key, std::string_view message) {
  if (!said_.emplace(key).second) return false;
  Say(message);
  return true;
}

}  // namespace platform
