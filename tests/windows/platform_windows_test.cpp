// SPDX-License-Identifier: GPL-2.0-or-later
// The Windows clock, message pump, message streams and sensor library
// binding, on Wine's implementation of the system calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/windows/asus_sensors.h"
#include "platform/windows/hid_iowkit.h"
#include "platform/windows/messages.h"
#include "platform/windows/text.h"
#include "platform/windows/win_event_pump.h"
#include "platform/windows/win_facts.h"
#include "platform/windows/win_window.h"
#include "tests/fakes.h"
#include "tests/windows/windows_test_paths.h"

namespace {

TEST(WindowsClock, WallClockIsLocalTimeOfDayWithAFraction) {
  platform::SystemClock clock;
  SYSTEMTIME before{};
  GetLocalTime(&before);
  const double seconds = clock.SecondsSinceMidnight();
  SYSTEMTIME after{};
  GetLocalTime(&after);
  ASSERT_GE(seconds, 0.0);
  ASSERT_LT(seconds, 86400.0);
  if (after.wHour < before.wHour) GTEST_SKIP() << "midnight passed during the test";
  const double low = before.wHour * 3600.0 + before.wMinute * 60.0 + before.wSecond +
                     before.wMilliseconds / 1000.0;
  const double high =
      after.wHour * 3600.0 + after.wMinute * 60.0 + after.wSecond + after.wMilliseconds / 1000.0;
  // Local time in milliseconds bounds it, give or take the last millisecond.
  EXPECT_GE(seconds, low - 0.001);
  EXPECT_LE(seconds, high + 0.001);
}

TEST(WindowsClock, MonotonicClockNeverRunsBack) {
  platform::SystemClock clock;
  double last = clock.MonotonicSeconds();
  EXPECT_GT(last, 0.0);
  for (int i = 0; i < 1000; ++i) {
    const double now = clock.MonotonicSeconds();
    ASSERT_GE(now, last);
    last = now;
  }
}

TEST(WaitMilliseconds, RoundsUpAndStaysFinite) {
  EXPECT_EQ(platform::WaitMilliseconds(0.0), 0U);
  EXPECT_EQ(platform::WaitMilliseconds(-1.0), 0U);
  EXPECT_EQ(platform::WaitMilliseconds(std::nan("")), 0U);
  EXPECT_EQ(platform::WaitMilliseconds(0.0001), 1U);
  EXPECT_EQ(platform::WaitMilliseconds(0.5), 500U);
  EXPECT_EQ(platform::WaitMilliseconds(1.0004), 1001U);
  EXPECT_EQ(platform::WaitMilliseconds(1e12), 86400000U);
  EXPECT_NE(platform::WaitMilliseconds(HUGE_VAL), INFINITE);
}

// A message-only window that counts what it is sent.
class Receiver {
 public:
  Receiver() {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = Procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = L"PumpTestReceiver";
    RegisterClassW(&window_class);
    window_ = CreateWindowExW(0, L"PumpTestReceiver", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~Receiver() { DestroyWindow(window_); }
  Receiver(const Receiver&) = delete;
  Receiver& operator=(const Receiver&) = delete;

  HWND window_ = nullptr;
  int received = 0;

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_APP) {
      platform::PointerIn<Receiver>(GetWindowLongPtrW(window, GWLP_USERDATA))->received++;
      return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
  }
};

TEST(WinEventPump, DispatchesWhatIsPendingAndWakesForWhatArrives) {
  Receiver receiver;
  ASSERT_NE(receiver.window_, nullptr);
  platform::WinEventPump pump;

  PostMessageW(receiver.window_, WM_APP, 0, 0);
  PostMessageW(receiver.window_, WM_APP, 0, 0);
  pump.ProcessEvents(0.0);
  EXPECT_EQ(receiver.received, 2) << "everything pending, without waiting";

  // A message from another thread ends the wait long before its limit, a
  // plain one or one for a whole second (on its own timer, where there is
  // one).
  const auto post_later = [&] {
    return CreateThread(
        nullptr, 0,
        [](void* window) -> DWORD {
          Sleep(50);
          PostMessageW(static_cast<HWND>(window), WM_APP, 0, 0);
          return 0;
        },
        receiver.window_, 0, nullptr);
  };
  for (const bool for_second : {false, true}) {
    const int before = receiver.received;
    HANDLE thread = post_later();
    ASSERT_NE(thread, nullptr);
    for (int i = 0; i < 100 && receiver.received == before; ++i) {
      if (for_second) {
        pump.ProcessEventsUntilSecond(60.0);
      } else {
        pump.ProcessEvents(60.0);
      }
    }
    EXPECT_EQ(receiver.received, before + 1) << for_second;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }

  // Nothing pending and no time to wait, or a timer soon due: returns.
  pump.ProcessEvents(0.0);
  pump.ProcessEvents(0.001);
  pump.ProcessEventsUntilSecond(0.001);
  pump.ProcessEventsUntilSecond(-1.0);
  EXPECT_EQ(receiver.received, 4);
}

TEST(LineBuffer, HandsOnWholeLinesAndTheRestAtAFlush) {
  std::vector<std::string> sunk;
  platform::LineBuffer buffer([&](const std::string& text) { sunk.push_back(text); });
  std::ostream out(&buffer);
  out << "statusanzeige: no sensor";
  EXPECT_TRUE(sunk.empty());
  out << " for the CPU temperature\nsecond ";
  ASSERT_EQ(sunk.size(), 1U);
  EXPECT_EQ(sunk[0], "statusanzeige: no sensor for the CPU temperature\n");
  out << "line\nthird\nfour";
  ASSERT_EQ(sunk.size(), 2U);
  EXPECT_EQ(sunk[1], "second line\nthird\n");
  out << std::flush;
  ASSERT_EQ(sunk.size(), 3U);
  EXPECT_EQ(sunk[2], "four");
  out << std::flush;
  EXPECT_EQ(sunk.size(), 3U) << "nothing left, nothing handed on";
}

// What OutputDebugString hands a debugger, caught on its way there.
std::vector<std::string>* g_debugger_lines = nullptr;

LONG CALLBACK CatchDebuggerOutput(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  if (g_debugger_lines != nullptr && record.ExceptionCode == DBG_PRINTEXCEPTION_C &&
      record.NumberParameters >= 2) {
    const auto* text =
        platform::PointerIn<const char>(static_cast<LONG_PTR>(record.ExceptionInformation[1]));
    g_debugger_lines->emplace_back(text, record.ExceptionInformation[0] - 1);
  }
  return EXCEPTION_CONTINUE_SEARCH;
}

TEST(MessageStream, ErrorsGoToTheDebuggerToo) {
  std::vector<std::string> lines;
  g_debugger_lines = &lines;
  void* handler = AddVectoredExceptionHandler(1, CatchDebuggerOutput);
  {
    platform::MessageStream errors(platform::ConsoleOutput::Stream::kError, true);
    errors << "statusanzeige: cannot open \\\\?\\hid#vid_07c0: Access is denied.\n";
    errors << "unfinished";
  }
  RemoveVectoredExceptionHandler(handler);
  g_debugger_lines = nullptr;
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0], "statusanzeige: cannot open \\\\?\\hid#vid_07c0: Access is denied.\n");
  EXPECT_EQ(lines[1], "unfinished") << "handed on when the stream goes";
}

// Wine has HID devices of its own (a virtual mouse and keyboard, where its
// drivers provide them) and no IO-Warrior: every interface is listed with a
// device path, none is opened, and there is no device.
TEST(WindowsHid, ListsTheSystemsHidInterfacesAndFindsNoController) {
  const auto hid = platform::MakeWindowsHidSystem();
  for (const std::string& path : hid->ListInterfaces()) {
    SCOPED_TRACE(path);
    EXPECT_EQ(path.rfind("\\\\?\\", 0), 0U);
    EXPECT_NE(platform::ParseHidPath(path).vendor, platform::kCodeMercenariesVendor);
  }
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::HidIowkit iowkit(*hid, clock, errors.reporter);
  EXPECT_EQ(iowkit.IowKitOpenDevice(), 0U);
  EXPECT_EQ(errors.str(), "");
  const auto gone = hid->Open("\\\\?\\hid#vid_07c0&pid_1501&mi_00#gone#{x}");
  ASSERT_FALSE(gone);
  EXPECT_NE(gone.Error().code, 0);
  EXPECT_FALSE(gone.Error().text.empty());
}

TEST(WindowsFacts, TheMachineTellsItsNameProcessorAndMemoryAndWhereTextsFilesLie) {
  const auto facts = platform::MakeWindowsFacts();
  EXPECT_FALSE(facts->HostName().empty());
  EXPECT_FALSE(facts->CpuModel().empty());
  MEMORYSTATUSEX memory{};
  memory.dwLength = sizeof(memory);
  ASSERT_NE(GlobalMemoryStatusEx(&memory), FALSE);
  EXPECT_EQ(facts->MemoryMegabytes(), memory.ullTotalPhys / (std::uint64_t{1024} * 1024))
      << "in MiB";
  SYSTEMTIME now{};
  GetLocalTime(&now);
  EXPECT_EQ(facts->Now().year, now.wYear);
  wchar_t was[MAX_PATH] = {};
  const bool had = GetEnvironmentVariableW(L"APPDATA", was, MAX_PATH) != 0;
  SetEnvironmentVariableW(L"APPDATA", L"C:\\Users\\J\u00f6rg\\AppData\\Roaming");
  const std::vector<std::string> places = facts->TextsFilePlaces();
  SetEnvironmentVariableW(L"APPDATA", had ? was : nullptr);
  ASSERT_EQ(places.size(), 2U);
  EXPECT_EQ(places[0], platform::Narrow(platform::ProgramFolder()) + "\\texts.toml");
  EXPECT_EQ(places[1], "C:\\Users\\J\xC3\xB6rg\\AppData\\Roaming\\statusanzeige\\texts.toml");
}

TEST(Text, Utf8RoundTripsThroughUtf16) {
  const std::string text =
      "SLG 2016 \xE2\x80\x94 emulated, 3,3 V, \xC2\xB0"
      "C";
  EXPECT_EQ(platform::Narrow(platform::Widen(text)), text);
  EXPECT_EQ(platform::Widen("\xE2\x80\x94"), std::wstring(1, L'\x2014'));
  EXPECT_EQ(platform::Narrow(L""), "");
  EXPECT_FALSE(platform::ErrorText(ERROR_ACCESS_DENIED).empty());
  EXPECT_NE(platform::ErrorText(ERROR_ACCESS_DENIED).back(), '\n');
}

TEST(AsusDllSensors, WithoutTheLibraryEveryReadingIsZeroSaidOnce) {
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::AsusDllSensors sensors(errors.reporter, clock, L"no-such-sensor-library.dll");
  EXPECT_FALSE(sensors.Found());
  EXPECT_EQ(sensors.Read(platform::Reading::kCpuTemperature), 0);
  EXPECT_EQ(sensors.Read(platform::Reading::kCpuTemperature), 0);
  EXPECT_EQ(sensors.Read(platform::Reading::kCpuFan), 0);
  EXPECT_EQ(sensors.Describe(platform::Reading::kCpuFan), "");
  const std::string said = errors.str();
  EXPECT_EQ(said,
            "statusanzeige: cannot use no-such-sensor-library.dll: it is not beside the program, "
            "nor on the DLL search path; every reading shows 0\n");
  EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
}

TEST(AsusDllSensors, CallsTheLibrarysFunctionsAndKeepsTheLow16BitsSigned) {
  fakes::Said errors;
  fakes::FakeClock clock;
  platform::AsusDllSensors sensors(errors.reporter, clock,
                                   platform::Widen(STATUSANZEIGE_FAKE_SENSOR_LIBRARY),
                                   testing_paths::SensorHosts());
  // The fake library's values: see fake_sensor_library.cpp.
  EXPECT_EQ(sensors.Read(platform::Reading::kCpuTemperature), 45);
  EXPECT_EQ(platform::ReadingOf(sensors.Read(platform::Reading::kBoardTemperature)), -5);
  EXPECT_EQ(sensors.Read(platform::Reading::kCoreVoltage), 1650);
  EXPECT_EQ(sensors.Read(platform::Reading::kRail12V), 12160);
  EXPECT_EQ(platform::ReadingOf(sensors.Read(platform::Reading::kCpuFan)), 0x2345)
      << "0x12345, low 16 bits";
  EXPECT_NE(sensors.Describe(platform::Reading::kCoreVoltage)
                .find(std::string(STATUSANZEIGE_FAKE_SENSOR_LIBRARY) + " GetVoltIN1"),
            std::string::npos);
  // The fake has no GetVoltIN2: that reading alone is 0, said once.
  EXPECT_EQ(sensors.Read(platform::Reading::kRail3V3), 0);
  EXPECT_EQ(sensors.Describe(platform::Reading::kRail3V3), "");
  EXPECT_NE(errors.str().find("3.3 V rail"), std::string::npos);
  EXPECT_NE(errors.str().find("lacks GetVoltIN2"), std::string::npos);
}

}  // namespace
