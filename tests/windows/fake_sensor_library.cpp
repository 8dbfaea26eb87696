// SPDX-License-Identifier: GPL-2.0-or-later
// A stand-in for the board maker's sensor library, for the tests: fixed
// readings, and no GetVoltIN2.
#include <windows.h>

extern "C" {
__declspec(dllexport) int WINAPI GetCPUTemperature() { return 45; }
__declspec(dllexport) int WINAPI GetMBTemperature() { return 0xFFFB; }  // -5 in 16 bits
__declspec(dllexport) int WINAPI GetVoltIN1() { return 1650; }
__declspec(dllexport) int WINAPI GetVoltIN3() { return 5040; }
__declspec(dllexport) int WINAPI GetVoltIN4() { return 12160; }
__declspec(dllexport) int WINAPI GetFanCPURPM() { return 0x12345; }
}
