// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/win_facts.h"

#include <windows.h>

#include "platform/windows/text.h"

namespace platform {
namespace {

class WindowsFacts final : public MachineFacts {
 public:
  std::string HostName() override {
    DWORD size = 0;
    GetComputerNameExW(ComputerNameDnsHostname, nullptr, &size);
    std::wstring name(size, L'\0');
    if (size == 0 || !GetComputerNameExW(ComputerNameDnsHostname, name.data(), &size)) return "";
    name.resize(size);
    return Narrow(name);
  }

  std::string CpuModel() override {
    constexpr wchar_t kKey[] = L"HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
    DWORD bytes = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kKey, L"ProcessorNameString", RRF_RT_REG_SZ, nullptr,
                     nullptr, &bytes) != ERROR_SUCCESS) {
      return "";
    }
    std::wstring name(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kKey, L"ProcessorNameString", RRF_RT_REG_SZ, nullptr,
                     name.data(), &bytes) != ERROR_SUCCESS) {
      return "";
    }
    name.resize(name.find(L'\0') == std::wstring::npos ? name.size() : name.find(L'\0'));
    return Narrow(name);
  }

  std::uint64_t MemoryMegabytes() override {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!GlobalMemoryStatusEx(&status)) return 0;
    constexpr std::uint64_t kMegabyte = std::uint64_t{1024} * 1024;
    return status.ullTotalPhys / kMegabyte;
  }

  LocalTime Now() override {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute};
  }

  [[nodiscard]] std::vector<std::string> TextsFilePlaces() const override {
    std::vector<std::string> places{Narrow(ProgramFolder() + L"\\texts.toml")};
    const DWORD size = GetEnvironmentVariableW(L"APPDATA", nullptr, 0);
    if (size > 1) {
      std::wstring folder(size, L'\0');
      folder.resize(GetEnvironmentVariableW(L"APPDATA", folder.data(), size));
      places.push_back(Narrow(folder + L"\\statusanzeige\\texts.toml"));
    }
    return places;
  }
};

}  // namespace

std::unique_ptr<MachineFacts> MakeWindowsFacts() { return std::make_unique<WindowsFacts>(); }

}  // namespace platform
