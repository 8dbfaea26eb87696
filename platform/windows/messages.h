// SPDX-License-Identifier: GPL-2.0-or-later
// Where a Windows GUI program's messages go. It has no visible standard
// error: its lines go to the console it was started from, if any, and always
// to the debugger (OutputDebugString, shown by DebugView and by debuggers).
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>

namespace platform {

// Attaches the program to the console of the process that started it, if
// any (once; later calls tell the result): its messages go there, and Ctrl+C
// and Ctrl+Break in it reach the program.
bool AttachParentConsole();

// A stream buffer that hands on each complete line, and whatever is left at a
// flush, to `sink`.
class LineBuffer final : public std::streambuf {
 public:
  explicit LineBuffer(std::function<void(const std::string&)> sink) : sink_(std::move(sink)) {}
  ~LineBuffer() override;
  LineBuffer(const LineBuffer&) = delete;
  LineBuffer& operator=(const LineBuffer&) = delete;

 protected:
  int sync() override;
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* text, std::streamsize count) override;

 private:
  void HandOn(bool all);
  std::function<void(const std::string&)> sink_;
  std::string pending_;
};

// The program's console: the standard handle when the program was given one
// (a pipe, a file or a console), else the console of the process that started
// it, attached on first use. Writes nothing when there is neither.
class ConsoleOutput {
 public:
  enum class Stream { kOutput, kError };
  explicit ConsoleOutput(Stream stream);
  void Write(const std::string& utf8);

 private:
  Stream stream_;
};

// An output stream whose lines go to the console (see above) and, when
// `debugger` is set, to OutputDebugString as well.
class MessageStream final : public std::ostream {
 public:
  MessageStream(ConsoleOutput::Stream stream, bool debugger);

 private:
  ConsoleOutput console_;
  bool debugger_;
  LineBuffer buffer_;
};

}  // namespace platform
