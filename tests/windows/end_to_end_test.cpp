// SPDX-License-Identifier: GPL-2.0-or-later
// The two Windows programs as a user meets them, started under Wine on a
// virtual display: statusanzeige without a controller, and the demo through
// one click, checked against the display model.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/display_model.h"
#include "platform/windows/win_window.h"
#include "status/status_run.h"

namespace {

// Generous: Wine starts its helper processes with the first window.
constexpr DWORD kPatienceMs = 60000;
constexpr DWORD kPollMs = 50;

std::wstring Widen(const std::string& text) { return {text.begin(), text.end()}; }

std::wstring ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return name;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

std::vector<HWND> TopLevelWindows(DWORD process) {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{process, {}};
  EnumWindows(
      [](HWND window, LPARAM data) -> BOOL {
        auto* s = platform::PointerIn<Search>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == s->process) s->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND window, LPARAM data) -> BOOL {
        platform::PointerIn<std::vector<HWND>>(data)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND VisibleWindowOfClass(DWORD process, const std::wstring& window_class) {
  for (HWND window : TopLevelWindows(process)) {
    if (IsWindowVisible(window) && ClassOf(window) == window_class) return window;
  }
  return nullptr;
}

// Polls `done` until it holds or the patience runs out.
bool WaitFor(const std::function<bool()>& done) {
  for (DWORD waited = 0; waited < kPatienceMs; waited += kPollMs) {
    if (done()) return true;
    Sleep(kPollMs);
  }
  return done();
}

class Program {
 public:
  explicit Program(const std::string& command_line) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring line = Widen(command_line);
    started_ = CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              &startup, &process_) != FALSE;
  }
  ~Program() {
    if (!started_) return;
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
      TerminateProcess(process_.hProcess, 99);
      WaitForSingleObject(process_.hProcess, kPatienceMs);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  [[nodiscard]] bool Started() const { return started_; }
  [[nodiscard]] DWORD Id() const { return process_.dwProcessId; }
  [[nodiscard]] bool Running() const {
    return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
  }
  // The exit status, or -1 when it does not end in time.
  long ExitStatus() {
    if (WaitForSingleObject(process_.hProcess, kPatienceMs) != WAIT_OBJECT_0) return -1;
    DWORD status = 0;
    GetExitCodeProcess(process_.hProcess, &status);
    return static_cast<long>(status);
  }

 private:
  PROCESS_INFORMATION process_{};
  bool started_ = false;
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
    if (probe == nullptr) GTEST_SKIP() << "no display to run the programs on";
    DestroyWindow(probe);
  }
};

TEST_F(EndToEnd, WithoutAControllerOneErrorBoxThenExitStatus1) {
  Program program(Quoted(STATUSANZEIGE_EXE));
  ASSERT_TRUE(program.Started());

  HWND box = nullptr;
  bool form_seen = false;
  ASSERT_TRUE(WaitFor([&] {
    form_seen = form_seen || VisibleWindowOfClass(program.Id(), L"StatusanzeigeForm1") != nullptr;
    box = VisibleWindowOfClass(program.Id(), L"#32770");
    return box != nullptr || !program.Running();
  }));
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(TextOf(box), L"Error");

  int boxes = 0;
  for (HWND window : TopLevelWindows(program.Id())) {
    if (IsWindowVisible(window) && ClassOf(window) == L"#32770") ++boxes;
  }
  EXPECT_EQ(boxes, 1);

  // The text, one OK button, no icon.
  std::vector<HWND> buttons;
  bool text_found = false;
  for (HWND child : Children(box)) {
    if (!IsWindowVisible(child)) continue;
    const std::wstring kind = ClassOf(child);
    if (kind == L"Button") buttons.push_back(child);
    if (kind == L"Static") {
      const auto style = GetWindowLongPtrW(child, GWL_STYLE);
      if ((style & SS_TYPEMASK) == SS_ICON) {
        EXPECT_EQ(SendMessageW(child, STM_GETICON, 0, 0), 0) << "the box shows an icon";
      }
      if (TextOf(child) == L"Can not open device!") text_found = true;
    }
  }
  EXPECT_TRUE(text_found);
  ASSERT_EQ(buttons.size(), 1U);
  EXPECT_EQ(TextOf(buttons[0]), L"OK");

  // The program waits for the OK.
  Sleep(300);
  EXPECT_TRUE(program.Running());
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(buttons[0]));
  EXPECT_EQ(program.ExitStatus(), 1);
  EXPECT_FALSE(form_seen) << "the main window was shown";
}

// The programs carry their icon, and a manifest that makes them per-monitor
// DPI aware, in their resources.
TEST(Resources, IconAndManifestAreInBothPrograms) {
  for (const char* path : {STATUSANZEIGE_EXE, STATUSANZEIGE_DEMO_EXE}) {
    SCOPED_TRACE(path);
    HMODULE program = LoadLibraryExW(Widen(path).c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    EXPECT_NE(FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)), nullptr)
        << "icon";  // RT_GROUP_ICON
    HRSRC manifest = FindResourceW(program, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    const auto* text = static_cast<const char*>(LockResource(LoadResource(program, manifest)));
    const std::string content(text, SizeofResource(program, manifest));
    EXPECT_NE(content.find("<dpiAwareness"), std::string::npos);
    EXPECT_NE(content.find("PerMonitorV2"), std::string::npos);
    FreeLibrary(program);
  }
}

std::vector<std::vector<std::uint8_t>> ReadReportLog(const std::string& path) {
  std::vector<std::vector<std::uint8_t>> reports;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    double seconds = 0;
    unsigned bytes[3] = {};
    fields >> seconds >> std::hex >> bytes[0] >> bytes[1] >> bytes[2];
    if (!fields || seconds < 1e9) {
      ADD_FAILURE() << "not a report line: " << line;
      continue;
    }
    reports.push_back({static_cast<std::uint8_t>(bytes[0]), static_cast<std::uint8_t>(bytes[1]),
                       static_cast<std::uint8_t>(bytes[2])});
  }
  return reports;
}

// A report log's name in the temporary folder, not yet there.
std::wstring TempLog() {
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  wchar_t file[MAX_PATH] = {};
  GetTempFileNameW(folder, L"log", 0, file);
  DeleteFileW(file);
  return file;
}

std::string Narrow(const std::wstring& path) {
  std::string narrow;
  for (const wchar_t c : path) narrow += static_cast<char>(c);
  return narrow;
}

TEST_F(EndToEnd, DemoRunsTheFirstStepsOfAClickAndEndsWithItsWindow) {
  const std::wstring log = TempLog();
  const wchar_t* const file = log.c_str();
  const std::string log_path = Narrow(log);

  Program demo(Quoted(STATUSANZEIGE_DEMO_EXE) + " --report-log " + Quoted(log_path));
  ASSERT_TRUE(demo.Started());
  HWND form = nullptr;
  HWND display = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    form = VisibleWindowOfClass(demo.Id(), L"StatusanzeigeForm1");
    display = VisibleWindowOfClass(demo.Id(), L"StatusanzeigePainted");
    return (form != nullptr && display != nullptr) || !demo.Running();
  }));
  ASSERT_NE(form, nullptr);
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(TextOf(display), L"SLG 2016 \x2014 emulated");
  RECT above{};
  RECT below{};
  GetWindowRect(form, &above);
  GetWindowRect(display, &below);
  EXPECT_GE(below.top, above.bottom) << "the display is shown below the window";
  EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(form)),
            DPI_AWARENESS_PER_MONITOR_AWARE);

  HWND button = nullptr;
  for (HWND child : Children(form)) {
    if (TextOf(child) == L"Anzeigestart") button = child;
  }
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(IsWindowEnabled(button));

  // Clear, then three steps of the first text.
  constexpr std::size_t kSteps = 3;
  constexpr std::size_t kWanted = 3 + 24 * kSteps;
  PostMessageW(button, BM_CLICK, 0, 0);
  ASSERT_TRUE(WaitFor([&] { return ReadReportLog(log_path).size() >= kWanted; }))
      << "reports logged: " << ReadReportLog(log_path).size();
  EXPECT_FALSE(IsWindowEnabled(button)) << "the button is disabled during the run";

  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(demo.ExitStatus(), 0);
  EXPECT_FALSE(IsWindow(display));

  const auto reports = ReadReportLog(log_path);
  DeleteFileW(file);
  ASSERT_GE(reports.size(), kWanted);
  // The close ends the run between reports, never inside a character.
  EXPECT_EQ((reports.size() - 3) % 3, 0U);
  EXPECT_EQ(reports[0], (std::vector<std::uint8_t>{0x00, 0xFF, 0x00}));
  EXPECT_EQ(reports[1], (std::vector<std::uint8_t>{0x00, 0x7F, 0x00}));
  EXPECT_EQ(reports[2], (std::vector<std::uint8_t>{0x00, 0xFF, 0x00}));

  emulator::DisplayModel model;
  for (std::size_t i = 0; i < 3; ++i) model.Feed(reports[i].data(), reports[i].size());
  EXPECT_EQ(model.Shown(), "        ") << "cleared";
  const std::string& first_text = status::StatusRows().at(0).label;
  for (std::size_t step = 0; step < kSteps; ++step) {
    for (std::size_t i = 0; i < 24; ++i) {
      const auto& report = reports[3 + step * 24 + i];
      model.Feed(report.data(), report.size());
    }
    EXPECT_EQ(model.Shown(), first_text.substr(step, 8)) << "step " << step + 1;
  }
}

TEST_F(EndToEnd, DemoWithRepeatStartsMinimizedWithoutAClick) {
  const std::wstring log = TempLog();
  const std::string log_path = Narrow(log);
  Program demo(Quoted(STATUSANZEIGE_DEMO_EXE) + " --repeat --minimized --report-log " +
               Quoted(log_path));
  ASSERT_TRUE(demo.Started());
  HWND form = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    form = VisibleWindowOfClass(demo.Id(), L"StatusanzeigeForm1");
    return form != nullptr || !demo.Running();
  }));
  ASSERT_NE(form, nullptr);
  EXPECT_TRUE(IsIconic(form));
  ASSERT_TRUE(WaitFor([&] { return ReadReportLog(log_path).size() >= 3 + 24; }))
      << "the clear and a step, unclicked";
  for (HWND child : Children(form)) EXPECT_FALSE(IsWindowEnabled(child)) << "greyed out";
  PostMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(demo.ExitStatus(), 0);
  DeleteFileW(log.c_str());
}

TEST_F(EndToEnd, ClosingTheEmulatedDisplayEndsTheDemoToo) {
  Program demo(Quoted(STATUSANZEIGE_DEMO_EXE));
  ASSERT_TRUE(demo.Started());
  HWND form = nullptr;
  HWND display = nullptr;
  ASSERT_TRUE(WaitFor([&] {
    form = VisibleWindowOfClass(demo.Id(), L"StatusanzeigeForm1");
    display = VisibleWindowOfClass(demo.Id(), L"StatusanzeigePainted");
    return (form != nullptr && display != nullptr) || !demo.Running();
  }));
  ASSERT_NE(display, nullptr);
  PostMessageW(display, WM_CLOSE, 0, 0);
  EXPECT_EQ(demo.ExitStatus(), 0);
  EXPECT_FALSE(IsWindow(form));
}

}  // namespace
