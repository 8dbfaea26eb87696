// SPDX-License-Identifier: GPL-2.0-or-later
// Paths for the Windows tests, which run under Wine on the build machine.
#pragma once

#include <tlhelp32.h>
#include <windows.h>

#include <string>
#include <vector>

namespace testing_paths {

// A path of the build machine as the test program opens it: an absolute
// Unix path lies on drive Z:, which Wine maps to the root.
inline std::wstring Windows(const std::string& path) {
  std::wstring wide(path.begin(), path.end());
  for (wchar_t& c : wide) {
    if (c == L'/') c = L'\\';
  }
  if (!path.empty() && path.front() == '/') wide = L"Z:" + wide;
  return wide;
}

#ifdef FAKE_ASUS_DIR
// A fake Asus.dll built for the tests: "full" or "lacking" (64-bit);
// "32-plain", "32-decorated", "32-crash" or "32-hang".
inline std::wstring FakeAsus(const char* variant) {
  return Windows(std::string(FAKE_ASUS_DIR) + "/asus" + (variant[0] == '3' ? "" : "-") + variant +
                 "/Asus.dll");
}
#endif

#ifdef SENSOR_HOST_DIR
// Where the sensor hosts are built.
inline std::wstring SensorHosts() { return Windows(SENSOR_HOST_DIR); }
#endif

// The processes this one has started that run `program`, e.g.
// L"statusanzeige-sensor-host32.exe".
inline std::vector<DWORD> ChildrenRunning(const wchar_t* program) {
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot, &entry); more != FALSE;
       more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ParentProcessID == GetCurrentProcessId() &&
        lstrcmpiW(entry.szExeFile, program) == 0) {
      found.push_back(entry.th32ProcessID);
    }
  }
  CloseHandle(snapshot);
  return found;
}

// Whether `process` ends within a generous patience.
inline bool Ends(HANDLE process) { return WaitForSingleObject(process, 30000) == WAIT_OBJECT_0; }

// A new, empty folder in the temporary folder.
inline std::wstring TemporaryFolder(const wchar_t* name) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring folder =
      std::wstring(temp) + L"statusanzeige-" + name + L"-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

}  // namespace testing_paths
