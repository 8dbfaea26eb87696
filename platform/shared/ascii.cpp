// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/shared/ascii.h"

#include <algorithm>
#include <cctype>

namespace platform {

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

}  // namespace platform
