// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/sensor_host_process.h"

#include <sddl.h>

#include <cstdio>
#include <random>

#include "platform/windows/text.h"

namespace platform {
namespace {

namespace host = sensor_host;

// A pipe name no other process can guess.
std::wstring PrivatePipeName() {
  std::random_device random;
  wchar_t name[96] = {};
  std::swprintf(name, 96, L"\\\\.\\pipe\\statusanzeige-sensor-host-%lu-%08x%08x%08x%08x",
                GetCurrentProcessId(), random(), random(), random(), random());
  return name;
}

// Access for this user alone (SDDL "D:P(A;;GA;;;<the user's SID>)"); the
// default security when the user cannot be told.
class UserOnly {
 public:
  UserOnly() {
    HANDLE token = nullptr;
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) == FALSE) return;
    alignas(TOKEN_USER) char buffer[256] = {};
    DWORD size = 0;
    wchar_t* sid = nullptr;
    if (GetTokenInformation(token, TokenUser, buffer, sizeof(buffer), &size) != FALSE &&
        ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &sid) != FALSE) {
      const std::wstring sddl = L"D:P(A;;GA;;;" + std::wstring(sid) + L")";
      LocalFree(sid);
      ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                           &descriptor_, nullptr);
    }
    CloseHandle(token);
  }
  ~UserOnly() { LocalFree(descriptor_); }
  UserOnly(const UserOnly&) = delete;
  UserOnly& operator=(const UserOnly&) = delete;
  SECURITY_ATTRIBUTES* Attributes() {
    attributes_ = {sizeof(attributes_), descriptor_, FALSE};
    return descriptor_ == nullptr ? nullptr : &attributes_;
  }

 private:
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  SECURITY_ATTRIBUTES attributes_{};
};

std::string Hex(DWORD value) {
  char text[16] = {};
  std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(value));
  return text;
}

Failure SystemFailure(DWORD error, const std::string& what) {
  std::string reason = ErrorText(error);
  if (!reason.empty() && reason.back() == '.') reason.pop_back();
  return {static_cast<int>(error), what + ": " + reason};
}

}  // namespace

SensorHostProcess::~SensorHostProcess() {
  Stop();
  if (event_ != nullptr) CloseHandle(event_);
  if (job_ != nullptr) CloseHandle(job_);
}

Result<host::Hello> SensorHostProcess::Start(const std::wstring& program,
                                             const std::wstring& library) {
  Stop();
  host::Open open{host::kMagic, {}};
  if (library.size() >= host::kPathLength) {
    return Failure{ERROR_FILENAME_EXCED_RANGE, "its path is too long"};
  }
  library.copy(open.path, library.size());

  if (event_ == nullptr) event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (job_ == nullptr) {
    // Closed when the program ends, however it ends: then the host ends too.
    job_ = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job_ != nullptr) {
      SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    }
  }

  // One pipe instance, its other end opened at once for the host to
  // inherit, so that nobody else can connect.
  const std::wstring name = PrivatePipeName();
  UserOnly security;
  pipe_ = CreateNamedPipeW(
      name.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 4096, 4096,
      0, security.Attributes());
  if (pipe_ == INVALID_HANDLE_VALUE) return SystemFailure(GetLastError(), "no pipe for it");
  SECURITY_ATTRIBUTES inherited{sizeof(inherited), nullptr, TRUE};
  HANDLE theirs = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inherited,
                              OPEN_EXISTING, 0, nullptr);
  if (theirs == INVALID_HANDLE_VALUE) {
    const Failure failure = SystemFailure(GetLastError(), "no pipe for it");
    Stop();
    return failure;
  }

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = theirs;  // both ways; its output and errors go nowhere
  PROCESS_INFORMATION started{};
  std::wstring line = L"\"" + program + L"\"";
  const BOOL ok =
      CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE,
                     CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup, &started);
  const DWORD error = GetLastError();
  CloseHandle(theirs);
  if (ok == FALSE) {
    Stop();
    return SystemFailure(error, "cannot start " + Narrow(program));
  }
  if (job_ != nullptr) AssignProcessToJobObject(job_, started.hProcess);
  ResumeThread(started.hThread);
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  process_id_ = started.dwProcessId;

  host::Hello hello{};
  DWORD failed = Transfer(true, &open, sizeof(open), kStartMs);
  if (failed == ERROR_SUCCESS) failed = Transfer(false, &hello, sizeof(hello), kStartMs);
  if (failed != ERROR_SUCCESS || hello.magic != host::kMagic) {
    const std::string within =
        failed == WAIT_TIMEOUT ? " within " + std::to_string(kStartMs / 1000) + " s" : "";
    return Lost(failed, Narrow(program) + " did not answer" + within, failed != WAIT_TIMEOUT);
  }
  return hello;
}

Result<std::int32_t> SensorHostProcess::Call(std::size_t reading) {
  if (!Running()) return Failure{ERROR_BROKEN_PIPE, "found no sensor host"};
  auto request = static_cast<std::uint8_t>(reading);
  host::Answer answer{};
  DWORD failed = Transfer(true, &request, 1, kCallMs);
  if (failed == ERROR_SUCCESS) failed = Transfer(false, &answer, sizeof(answer), kCallMs);
  if (failed == WAIT_TIMEOUT) {
    return Lost(failed, "did not return within " + std::to_string(kCallMs) + " ms");
  }
  if (failed != ERROR_SUCCESS) return Lost(failed, "ended the sensor host", true);
  switch (answer.outcome) {
    case host::Outcome::kReturned:
      return answer.value;
    case host::Outcome::kCrashed:
      return Lost(static_cast<DWORD>(answer.value),
                  "crashed (exception " + Hex(static_cast<DWORD>(answer.value)) + ")");
    case host::Outcome::kMissing:
      break;
  }
  return Failure{ERROR_PROC_NOT_FOUND, "is not in the library"};
}

Failure SensorHostProcess::Lost(DWORD error, const std::string& what, bool ended) {
  std::string text = what;
  // How the host ended, when it ended by itself.
  if (ended && process_ != nullptr && WaitForSingleObject(process_, 1000) == WAIT_OBJECT_0) {
    DWORD status = 0;
    GetExitCodeProcess(process_, &status);
    text += " (exit status " + Hex(status) + ")";
  }
  if (process_ != nullptr) TerminateProcess(process_, ERROR_TIMEOUT);
  Stop();
  return {static_cast<int>(error), text};
}

DWORD SensorHostProcess::Transfer(bool write, void* data, DWORD size, DWORD ms) {
  auto* at = static_cast<char*>(data);
  const ULONGLONG deadline = GetTickCount64() + ms;
  while (size > 0) {
    OVERLAPPED overlapped{};
    overlapped.hEvent = event_;
    const BOOL done = write ? WriteFile(pipe_, at, size, nullptr, &overlapped)
                            : ReadFile(pipe_, at, size, nullptr, &overlapped);
    if (done == FALSE && GetLastError() != ERROR_IO_PENDING) return GetLastError();
    const ULONGLONG now = GetTickCount64();
    DWORD moved = 0;
    if (WaitForSingleObject(event_, now >= deadline ? 0 : static_cast<DWORD>(deadline - now)) !=
        WAIT_OBJECT_0) {
      CancelIoEx(pipe_, &overlapped);
      GetOverlappedResult(pipe_, &overlapped, &moved, TRUE);
      return WAIT_TIMEOUT;
    }
    if (GetOverlappedResult(pipe_, &overlapped, &moved, FALSE) == FALSE) return GetLastError();
    at += moved;
    size -= moved;
  }
  return ERROR_SUCCESS;
}

bool SensorHostProcess::Running() const {
  return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void SensorHostProcess::Stop() {
  if (pipe_ != INVALID_HANDLE_VALUE) CloseHandle(pipe_);
  pipe_ = INVALID_HANDLE_VALUE;
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 1000) != WAIT_OBJECT_0) {
    TerminateProcess(process_, ERROR_TIMEOUT);
    WaitForSingleObject(process_, 1000);
  }
  CloseHandle(process_);
  process_ = nullptr;
  process_id_ = 0;
}

}  // namespace platform
