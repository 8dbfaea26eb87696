// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/asus_sensors.h"

#include <array>
#include <cstdio>

#include "platform/windows/text.h"

namespace platform {
namespace {

namespace host = sensor_host;

// Where LoadLibrary would find `name` (the program's folder first, then the
// system's, then PATH); empty when it is nowhere.
std::wstring Locate(const std::wstring& name) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = SearchPathW(nullptr, name.c_str(), nullptr, MAX_PATH, path, nullptr);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(path, length);
}

bool ReadAt(HANDLE file, DWORD offset, void* data, DWORD size) {
  OVERLAPPED at{};
  at.Offset = offset;
  DWORD read = 0;
  return ReadFile(file, data, size, &read, &at) != FALSE && read == size;
}

// The processor a Windows image is built for (IMAGE_FILE_MACHINE_I386,
// IMAGE_FILE_MACHINE_AMD64, ...), from its PE header; 0 when it is none.
WORD MachineOf(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  IMAGE_DOS_HEADER dos{};
  DWORD signature = 0;
  IMAGE_FILE_HEADER header{};
  const auto pe = [&] { return static_cast<DWORD>(dos.e_lfanew); };
  const bool ok = ReadAt(file, 0, &dos, sizeof(dos)) && dos.e_magic == IMAGE_DOS_SIGNATURE &&
                  ReadAt(file, pe(), &signature, sizeof(signature)) &&
                  signature == IMAGE_NT_SIGNATURE &&
                  ReadAt(file, pe() + sizeof(signature), &header, sizeof(header));
  CloseHandle(file);
  return ok ? header.Machine : 0;
}

std::string Hex(unsigned value) {
  char text[16] = {};
  std::snprintf(text, sizeof(text), "0x%04X", value);
  return text;
}

std::string NameFound(Reading reading, std::uint8_t naming) {
  std::string plain = InfoOf(reading).function;
  switch (static_cast<host::Naming>(naming)) {
    case host::Naming::kPlain:
      return plain;
    case host::Naming::kDecorated:
      return plain + "@0";
    case host::Naming::kUnderscoreDecorated:
      return "_" + plain + "@0";
    case host::Naming::kNone:
      break;
  }
  return {};
}

}  // namespace

AsusDllSensors::AsusDllSensors(Reporter& reporter, Clock& clock, std::wstring library,
                               std::wstring host_folder)
    : reporter_(reporter),
      clock_(clock),
      library_name_(std::move(library)),
      host_folder_(std::move(host_folder)) {}

bool AsusDllSensors::Found() const { return !Locate(library_name_).empty(); }

std::string AsusDllSensors::LibraryText() const {
  return Narrow(library_name_) +
         (path_.empty() || path_ == library_name_ ? "" : " (" + Narrow(path_) + ")");
}

void AsusDllSensors::Start() const {
  started_ = true;
  lost_in_call_ = false;
  started_at_ = clock_.MonotonicSeconds();
  hello_ = {};
  unusable_.clear();
  path_ = Locate(library_name_);
  if (path_.empty()) {
    unusable_ = "it is not beside the program, nor on the DLL search path";
    return;
  }
  const WORD machine = MachineOf(path_);
  bits_ = machine == IMAGE_FILE_MACHINE_I386 ? 32 : machine == IMAGE_FILE_MACHINE_AMD64 ? 64 : 0;
  if (bits_ == 0) {
    unusable_ = machine == 0 ? "it is no Windows library"
                             : "it is a library for another processor (machine " + Hex(machine) +
                                   "), not for x86 or x64";
    return;
  }
  const std::wstring folder = host_folder_.empty() ? ProgramFolder() : host_folder_;
  const std::wstring program = folder + L"\\" + (bits_ == 32 ? host::kHost32 : host::kHost64);
  const auto hello = host_.Start(program, path_);
  if (!hello) {
    unusable_ = "its " + std::to_string(bits_) + "-bit sensor host failed: " + hello.Error().text;
    return;
  }
  hello_ = *hello;
  if (hello_.load_error != 0) {
    const DWORD error = hello_.load_error;
    std::string reason =
        error == ERROR_MOD_NOT_FOUND ? "a library it needs is missing" : ErrorText(error);
    if (!reason.empty() && reason.back() == '.') reason.pop_back();
    unusable_ = "the " + std::to_string(bits_) + "-bit sensor host cannot load it: " + reason +
                " (error " + std::to_string(error) + ")";
    host_.Stop();
    return;
  }
  bool any = false;
  for (const std::uint8_t naming : hello_.naming) any = any || naming != 0;
  if (!any) {
    std::string names;
    for (const ReadingInfo& info : kReadings)
      names += (names.empty() ? "" : ", ") + std::string(info.function);
    unusable_ = "it has none of the sensor functions " + names;
    host_.Stop();
  }
}

std::string AsusDllSensors::Unusable() const {
  if (!started_) Start();
  return unusable_.empty() ? "" : "cannot use " + LibraryText() + ": " + unusable_;
}

bool AsusDllSensors::Ready(Reading reading) {
  const bool new_text = last_ != reading;
  last_ = reading;
  // The first time; at once after a call that ended the host; and for a
  // host that failed at its start or died by itself, at the first reading
  // of a text and a minute after the last start at the soonest.
  if (!started_ || (!host_.Running() &&
                    (lost_in_call_ ||
                     (new_text && clock_.MonotonicSeconds() - started_at_ >= kRestartSeconds)))) {
    Start();
  }
  if (!unusable_.empty()) {
    reporter_.SayOnce("Asus.dll", Unusable() + "; every reading shows 0");
    return false;
  }
  std::string lacking;
  for (const ReadingInfo& info : kReadings) {
    if (hello_.naming[static_cast<std::size_t>(info.reading)] != 0) continue;
    lacking += (lacking.empty() ? "" : ", ") + std::string(info.function) + " (" + info.name + ")";
  }
  if (!lacking.empty()) {
    reporter_.SayOnce("Asus.dll lacks",
                      LibraryText() + " lacks " + lacking + "; these readings show 0");
  }
  return host_.Running() && hello_.naming[static_cast<std::size_t>(reading)] != 0;
}

std::int32_t AsusDllSensors::Read(Reading reading) {
  const auto index = static_cast<std::size_t>(reading);
  if (aside_[index] || !Ready(reading)) return 0;
  const auto result = host_.Call(index);
  if (result) {
    failed_runs_[index] = 0;
    return *result;
  }
  aside_[index] = true;
  ++failed_runs_[index];
  lost_in_call_ = !host_.Running();
  reporter_.SayOnce("Asus.dll " + Function(reading) + " " + result.Error().text,
                    FunctionText(reading) + " " + result.Error().text +
                        "; that reading shows 0 for the rest of this run, and the function is "
                        "tried again at the next");
  return 0;
}

void AsusDllSensors::RunStarts() {
  for (const ReadingInfo& info : kReadings) {
    const auto index = static_cast<std::size_t>(info.reading);
    if (!aside_[index] || for_good_[index]) continue;
    if (failed_runs_[index] < kRunsInARow) {
      aside_[index] = false;
      continue;
    }
    for_good_[index] = true;
    reporter_.SayOnce("Asus.dll " + Function(info.reading) + " set aside",
                      FunctionText(info.reading) + " failed in " + std::to_string(kRunsInARow) +
                          " runs in a row; it is not called again until the program starts "
                          "again, and that reading shows 0");
  }
}

std::string AsusDllSensors::Function(Reading reading) const {
  return NameFound(reading, hello_.naming[static_cast<std::size_t>(reading)]);
}

std::string AsusDllSensors::FunctionText(Reading reading) const {
  return LibraryText() + " " + Function(reading) + " (" + InfoOf(reading).name + ")";
}

std::string AsusDllSensors::Describe(Reading reading) const {
  if (!started_) Start();
  const std::string name = Function(reading);
  if (!unusable_.empty() || name.empty()) return {};
  return Narrow(path_) + " " + name + " (" + std::to_string(bits_) +
         "-bit, through the sensor host)";
}

}  // namespace platform
