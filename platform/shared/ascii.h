// SPDX-License-Identifier: GPL-2.0-or-later
// Case-insensitive handling of the ASCII names that sensors, device paths
// and units carry.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string AsciiLower(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

}  // namespace platform
