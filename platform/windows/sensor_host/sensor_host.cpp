// SPDX-License-Identifier: GPL-2.0-or-later
// The sensor host: loads the board maker's sensor library for the program
// and calls its functions when the program asks, one call per request, in
// the order asked. Built twice from this one source, as a 32-bit and a
// 64-bit program, so that a library of either bitness works. It has no
// window and no console; its standard input is its end of the program's
// pipe (see protocol.h), and it ends when the pipe closes. A function that
// raises an exception ends it too, after saying so on the pipe.
#include <windows.h>

#include <array>
#include <cwchar>
#include <string>

#include "platform/sensors.h"
#include "platform/windows/sensor_host/protocol.h"

namespace {

namespace host = platform::sensor_host;
static_assert(host::kFunctions == platform::kReadingCount);

HANDLE pipe = INVALID_HANDLE_VALUE;  // the program's pipe, for Crashed() too

bool WriteAll(const void* data, DWORD size) {
  DWORD written = 0;
  return WriteFile(pipe, data, size, &written, nullptr) != FALSE && written == size;
}

bool ReadAll(void* data, DWORD size) {
  auto* at = static_cast<char*>(data);
  while (size > 0) {
    DWORD read = 0;
    if (ReadFile(pipe, at, size, &read, nullptr) == FALSE || read == 0) return false;
    at += read;
    size -= read;
  }
  return true;
}

// A function of the library that raised an exception: the program learns
// which, and the host ends, since the library may be in any state now.
LONG WINAPI Crashed(EXCEPTION_POINTERS* exception) {
  const DWORD code = exception->ExceptionRecord->ExceptionCode;
  const host::Answer answer{host::Outcome::kCrashed, static_cast<std::int32_t>(code)};
  WriteAll(&answer, sizeof(answer));
  TerminateProcess(GetCurrentProcess(), code);
  return EXCEPTION_EXECUTE_HANDLER;
}

using Function = int(WINAPI*)();

}  // namespace

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*line*/, int /*show*/) {
  // No boxes from Windows: not for a library it cannot find, nor for a crash.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  // From the library's loading on: a crash while loading ends the host
  // before its Hello, which the program takes as a host that did not answer.
  SetUnhandledExceptionFilter(Crashed);
  pipe = GetStdHandle(STD_INPUT_HANDLE);
  host::Open open{};
  if (!ReadAll(&open, sizeof(open)) || open.magic != host::kMagic) return 1;
  open.path[host::kPathLength - 1] = 0;

  host::Hello hello{host::kMagic, 0, {}, static_cast<std::uint8_t>(8 * sizeof(void*))};
  std::array<Function, host::kFunctions> functions{};
  // Its own dependencies are looked for beside it.
  HMODULE library = LoadLibraryExW(open.path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (library == nullptr) {
    hello.load_error = GetLastError();
  } else {
    for (std::size_t i = 0; i < host::kFunctions; ++i) {
      const std::string plain = platform::kReadings[i].function;
      const std::array<std::string, 3> names = {plain, plain + "@0", "_" + plain + "@0"};
      for (std::size_t n = 0; n < names.size(); ++n) {
        const FARPROC address = GetProcAddress(library, names[n].c_str());
        if (address == nullptr) continue;
        functions[i] = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
        hello.naming[i] = static_cast<std::uint8_t>(n + 1);
        break;
      }
    }
  }
  if (!WriteAll(&hello, sizeof(hello))) return 1;

  std::uint8_t request = 0;
  while (ReadAll(&request, 1)) {
    host::Answer answer{host::Outcome::kMissing, 0};
    if (request < host::kFunctions && functions[request] != nullptr) {
      answer = {host::Outcome::kReturned, functions[request]()};
    }
    if (!WriteAll(&answer, sizeof(answer))) break;
  }
  return 0;
}
