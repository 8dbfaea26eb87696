// SPDX-License-Identifier: GPL-2.0-or-later
// Paths for the Windows tests, which run under Wine on the build machine.
#pragma once

#include <windows.h>

#include <string>

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

// A fake Asus.dll built for the tests: "full" or "lacking".
inline std::wstring FakeAsus(const char* variant) {
  return Windows(std::string(FAKE_ASUS_DIR) + "/asus-" + variant + "/Asus.dll");
}

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
