// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/asus_sensors.h"

#include "platform/windows/text.h"

namespace platform {
namespace {

// Where LoadLibrary would find `name` (the program's folder first, then the
// system's, then PATH), for messages; empty when it is nowhere.
std::wstring Locate(const std::wstring& name) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = SearchPathW(nullptr, name.c_str(), nullptr, MAX_PATH, path, nullptr);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(path, length);
}

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  return std::wstring(path, length);
}

}  // namespace

AsusDllSensors::AsusDllSensors(Reporter& reporter, std::wstring library)
    : reporter_(reporter), library_name_(std::move(library)) {}

AsusDllSensors::~AsusDllSensors() {
  if (library_ != nullptr) FreeLibrary(library_);
}

void AsusDllSensors::Load() const {
  if (loaded_) return;
  loaded_ = true;
  // No "cannot find" box from Windows for the library or what it needs.
  const UINT previous_mode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  library_ = LoadLibraryW(library_name_.c_str());
  load_error_ = library_ == nullptr ? GetLastError() : 0;
  SetErrorMode(previous_mode);
  if (library_ == nullptr) {
    path_ = Locate(library_name_);
    missing_ = Missing();
    return;
  }
  path_ = ModulePath(library_);
  for (const ReadingInfo& info : kReadings) {
    const auto index = static_cast<std::size_t>(info.reading);
    const std::string plain = info.function;
    for (const std::string& name : {plain, plain + "@0", "_" + plain + "@0"}) {
      const FARPROC address = GetProcAddress(library_, name.c_str());
      if (address == nullptr) continue;
      functions_[index] = reinterpret_cast<Function>(reinterpret_cast<void*>(address));
      names_[index] = name;
      break;
    }
  }
  missing_ = Missing();
}

bool AsusDllSensors::Found() const {
  Load();
  // ERROR_MOD_NOT_FOUND also means that a library it needs is missing.
  return library_ != nullptr || load_error_ != ERROR_MOD_NOT_FOUND || !path_.empty();
}

std::string AsusDllSensors::Missing() const {
  const std::string library =
      Narrow(library_name_) +
      (path_.empty() || path_ == library_name_ ? "" : " (" + Narrow(path_) + ")");
  if (library_ == nullptr) {
    std::string reason;
    if (load_error_ == ERROR_BAD_EXE_FORMAT) {
      reason = "it is a 32-bit library, and this program is 64-bit";
    } else if (load_error_ == ERROR_MOD_NOT_FOUND && !path_.empty()) {
      reason = "a library it needs is missing";
    } else {
      reason = ErrorText(load_error_);
      if (!reason.empty() && reason.back() == '.') reason.pop_back();
    }
    return "cannot load " + library + ": " + reason + " (error " + std::to_string(load_error_) +
           "); every reading shows 0";
  }
  std::string lacking;
  for (const ReadingInfo& info : kReadings) {
    if (functions_[static_cast<std::size_t>(info.reading)] != nullptr) continue;
    lacking += (lacking.empty() ? "" : ", ") + std::string(info.function) + " (" + info.name + ")";
  }
  if (lacking.empty()) return {};
  return library + " lacks " + lacking + "; these readings show 0";
}

std::int32_t AsusDllSensors::Read(Reading reading) {
  Load();
  if (!missing_.empty()) reporter_.SayOnce("Asus.dll", missing_);
  const Function function = functions_[static_cast<std::size_t>(reading)];
  if (function == nullptr) return 0;
  return function();
}

std::string AsusDllSensors::Describe(Reading reading) const {
  Load();
  const auto index = static_cast<std::size_t>(reading);
  if (functions_[index] == nullptr) return {};
  return Narrow(path_.empty() ? library_name_ : path_) + " " + names_[index];
}

}  // namespace platform
