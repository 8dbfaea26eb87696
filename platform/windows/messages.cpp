// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/messages.h"

#include <windows.h>

#include "platform/windows/text.h"

namespace platform {
namespace {

bool IsUsable(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }

}  // namespace

bool AttachParentConsole() {
  static const bool attached = AttachConsole(ATTACH_PARENT_PROCESS) != FALSE;
  return attached;
}

namespace {

// A GUI program has no console of its own. When it was started from one, it
// writes there.
HANDLE ParentConsole() {
  if (!AttachParentConsole()) return nullptr;
  static HANDLE console =
      CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  return IsUsable(console) ? console : nullptr;
}

}  // namespace

LineBuffer::~LineBuffer() { HandOn(true); }

int LineBuffer::sync() {
  HandOn(true);
  return 0;
}

LineBuffer::int_type LineBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  pending_ += traits_type::to_char_type(c);
  if (pending_.back() == '\n') HandOn(false);
  return c;
}

std::streamsize LineBuffer::xsputn(const char* text, std::streamsize count) {
  pending_.append(text, static_cast<std::size_t>(count));
  HandOn(false);
  return count;
}

void LineBuffer::HandOn(bool all) {
  std::size_t end = pending_.size();
  if (!all) {
    const std::size_t line_break = pending_.rfind('\n');
    if (line_break == std::string::npos) return;
    end = line_break + 1;
  }
  if (end == 0) return;
  const std::string lines = pending_.substr(0, end);
  pending_.erase(0, end);
  sink_(lines);
}

ConsoleOutput::ConsoleOutput(Stream stream) : stream_(stream) {}

void ConsoleOutput::Write(const std::string& utf8) {
  HANDLE handle = GetStdHandle(stream_ == Stream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (!IsUsable(handle)) handle = ParentConsole();
  if (!IsUsable(handle)) return;
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(handle, &mode)) {
    // A console takes UTF-16, whatever its code page.
    std::wstring wide = Widen(utf8);
    std::wstring crlf;
    for (wchar_t c : wide) {
      if (c == L'\n') crlf += L'\r';
      crlf += c;
    }
    WriteConsoleW(handle, crlf.data(), static_cast<DWORD>(crlf.size()), &written, nullptr);
  } else {
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  }
}

MessageStream::MessageStream(ConsoleOutput::Stream stream, bool debugger)
    : std::ostream(nullptr),
      console_(stream),
      debugger_(debugger),
      buffer_([this](const std::string& lines) {
        console_.Write(lines);
        if (debugger_) OutputDebugStringW(Widen(lines).c_str());
      }) {
  rdbuf(&buffer_);
}

}  // namespace platform
