// SPDX-License-Identifier: GPL-2.0-or-later
// UTF-8, as the portable code speaks it, to and from the UTF-16 of the
// Windows API.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The system's text for a Windows error code, without the trailing line
// break, e.g. "Access is denied."; "error N" when the system has none.
std::string ErrorText(unsigned long code);

// The program's command-line arguments after its name, in UTF-8.
std::vector<std::string> CommandLineArguments();

// The folder the running program lies in, without a trailing backslash.
std::wstring ProgramFolder();

}  // namespace platform
