// SPDX-License-Identifier: GPL-2.0-or-later
// A 32-bit stand-in for the board maker's Asus.dll, built with the i686
// compiler: stdcall functions, so that their exported names are decorated
// ("GetCPUTemperature@0") unless the library is linked with --kill-at
// (plain names), as 32-bit builds of such libraries have them. With
// FAKE_ASUS_CRASH GetVoltIN2 crashes, with FAKE_ASUS_HANG it never returns.
#include <windows.h>

#include <cstdint>

namespace {
int cpu_calls = 0;
int fan_calls = 0;
}  // namespace

extern "C" {

// 49, then 50, then 49...: a temperature that changes between two calls,
// with garbage in the upper 16 bits, as the register holds it.
__declspec(dllexport) int WINAPI GetCPUTemperature() {
  return static_cast<int>(0xABCD0000U | (cpu_calls++ % 2 == 0 ? 49U : 50U));
}
__declspec(dllexport) int WINAPI GetMBTemperature() { return 35; }
__declspec(dllexport) int WINAPI GetVoltIN1() { return 1352; }
__declspec(dllexport) int WINAPI GetVoltIN2() {
#if defined(FAKE_ASUS_CRASH)
  volatile std::uintptr_t nowhere = 0;
  *reinterpret_cast<volatile int*>(nowhere) = 1;
#elif defined(FAKE_ASUS_HANG)
  Sleep(INFINITE);
#endif
  return 3344;
}
__declspec(dllexport) int WINAPI GetVoltIN3() { return 5040; }
__declspec(dllexport) int WINAPI GetVoltIN4() { return 12160; }
// 3121, 3122, ...: every reading is a call of its own.
__declspec(dllexport) int WINAPI GetFanCPURPM() { return 3121 + fan_calls++; }

}  // extern "C"
