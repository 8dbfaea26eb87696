// SPDX-License-Identifier: GPL-2.0-or-later
// A stand-in for the board maker's Asus.dll, for the tests: the seven
// functions with fixed readings, some exported under stdcall-decorated names
// as 32-bit builds of such libraries have them. Built without the last two
// functions when FAKE_ASUS_LACKING is defined.
#include <windows.h>

namespace {
int cpu_calls = 0;
}

extern "C" {

// 49, then 50, then 49...: a temperature that changes between two calls.
__declspec(dllexport) int WINAPI GetCPUTemperature() { return (cpu_calls++ % 2 == 0) ? 49 : 50; }
__declspec(dllexport) int WINAPI FakeBoardTemperature() __asm__("GetMBTemperature@0");
__declspec(dllexport) int WINAPI FakeBoardTemperature() { return 35; }
__declspec(dllexport) int WINAPI FakeCoreVoltage() __asm__("_GetVoltIN1@0");
// Bits above the low 16 do not count.
__declspec(dllexport) int WINAPI FakeCoreVoltage() { return 0x7FFF0000 | 1352; }
__declspec(dllexport) int WINAPI GetVoltIN2() { return 3344; }
__declspec(dllexport) int WINAPI GetVoltIN3() { return 5040; }
#ifndef FAKE_ASUS_LACKING
__declspec(dllexport) int WINAPI GetVoltIN4() { return 12160; }
__declspec(dllexport) int WINAPI GetFanCPURPM() { return static_cast<int>(0xFFFF0000U | 3125U); }
#endif

}  // extern "C"
