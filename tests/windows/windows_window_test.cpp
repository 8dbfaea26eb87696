// SPDX-License-Identifier: GPL-2.0-or-later
// The native main window, the painted window and the GDI canvas, on Wine
// with a virtual display. Skipped where no window can be made.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/windows/gdi_canvas.h"
#include "platform/windows/termination.h"
#include "platform/windows/text.h"
#include "platform/windows/win_event_pump.h"
#include "platform/windows/win_form_window.h"
#include "platform/windows/win_painted_window.h"
#include "platform/windows/win_window.h"
#include "tests/fakes.h"

namespace {

const platform::FormLayout kLayout{" Statusanzeige mit SLG 2016 von Wendrik Pfarlow Morvik",
                                   525,
                                   144,
                                   "Anzeigestart",
                                   16,
                                   96,
                                   89,
                                   33};

class RecordingEvents final : public platform::FormEvents {
 public:
  void AnzeigestartButton_Click() override {
    ++clicks;
    if (on_click) on_click();
  }
  void Form_Unload() override { ++unloads; }
  int clicks = 0;
  int unloads = 0;
  std::function<void()> on_click;
};

void Pump() {
  for (int i = 0; i < 5; ++i) platform::DispatchPendingMessages();
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HWND probe = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                 nullptr);
    if (probe == nullptr) GTEST_SKIP() << "no display to make windows on";
    DestroyWindow(probe);
  }
};

std::wstring WindowText(HWND window) {
  wchar_t text[256] = {};
  GetWindowTextW(window, text, 256);
  return text;
}

// Sizes at 96 DPI, scaled to the screen's: scripts/test-windows runs these
// tests at 96 DPI and again at 144 (150 % scaling).
TEST_F(WindowTest, Form1LooksAsLaidOutAtTheScreensDpi) {
  RecordingEvents events;
  platform::WinFormWindow form(events, kLayout);
  ASSERT_NE(form.Handle(), nullptr);
  const unsigned dpi = platform::DpiOf(form.Handle());
  const auto px = [dpi](int pixels) { return platform::ScaleToDpi(pixels, dpi); };
  RecordProperty("dpi", static_cast<int>(dpi));

  EXPECT_EQ(platform::Narrow(WindowText(form.Handle())), kLayout.caption);
  EXPECT_EQ(WindowText(form.Handle())[0], L' ') << "the caption keeps its leading blank";
  RECT client{};
  GetClientRect(form.Handle(), &client);
  EXPECT_EQ(client.right - client.left, px(525));
  EXPECT_EQ(client.bottom - client.top, px(144));

  HWND button = form.ButtonHandle();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(WindowText(button), L"Anzeigestart");
  RECT place{};
  GetWindowRect(button, &place);
  MapWindowPoints(nullptr, form.Handle(), reinterpret_cast<POINT*>(&place), 2);
  EXPECT_EQ(place.left, px(16));
  EXPECT_EQ(place.top, px(96));
  EXPECT_EQ(place.right - place.left, px(89));
  EXPECT_EQ(place.bottom - place.top, px(33));
  const auto style = GetWindowLongPtrW(button, GWL_STYLE);
  EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);

  // The system's dialog font at the screen's DPI, not the old bitmap system
  // font.
  auto* font = platform::PointerIn<HFONT__>(SendMessageW(button, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTW used{};
  GetObjectW(font, sizeof(used), &used);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
  EXPECT_STREQ(used.lfFaceName, metrics.lfMessageFont.lfFaceName);
  EXPECT_EQ(used.lfHeight, metrics.lfMessageFont.lfHeight);

  // A fixed frame.
  const auto frame_style = GetWindowLongPtrW(form.Handle(), GWL_STYLE);
  EXPECT_EQ(frame_style & WS_THICKFRAME, 0);
  EXPECT_NE(frame_style & WS_SYSMENU, 0);

  EXPECT_FALSE(IsWindowVisible(form.Handle())) << "hidden until shown";
  form.Show();
  EXPECT_TRUE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(events.unloads, 0);
}

TEST_F(WindowTest, ScalesWithTheDpi) {
  EXPECT_EQ(platform::ScaleToDpi(525, 96), 525);
  EXPECT_EQ(platform::ScaleToDpi(525, 144), 788);
  EXPECT_EQ(platform::ScaleToDpi(89, 192), 178);
  HFONT normal = platform::MakeDialogFont(96);
  HFONT large = platform::MakeDialogFont(192);
  LOGFONTW at96{};
  LOGFONTW at192{};
  GetObjectW(normal, sizeof(at96), &at96);
  GetObjectW(large, sizeof(at192), &at192);
  EXPECT_NEAR(std::abs(at192.lfHeight), 2 * std::abs(at96.lfHeight), 1);
  DeleteObject(normal);
  DeleteObject(large);
}

TEST_F(WindowTest, ButtonClicksReachTheProgramAndTheButtonCanBeDisabled) {
  RecordingEvents events;
  platform::WinFormWindow form(events, kLayout);
  ASSERT_NE(form.Handle(), nullptr);
  form.Show();
  SendMessageW(form.ButtonHandle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(events.clicks, 1);

  form.SetButtonEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(form.ButtonHandle()));
  SendMessageW(form.ButtonHandle(), BM_CLICK, 0, 0);
  Pump();
  EXPECT_EQ(events.clicks, 1) << "a disabled button is not clicked";
  form.SetButtonEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(form.ButtonHandle()));
}

TEST_F(WindowTest, ClosingUnloadsOnceWhicheverWayItComes) {
  {
    RecordingEvents events;
    platform::WinFormWindow form(events, kLayout);
    form.Show();
    form.Close();
    form.Close();
    EXPECT_EQ(events.unloads, 1);
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
    EXPECT_TRUE(*form.ClosedFlag());
  }
  {
    // The close button.
    RecordingEvents events;
    platform::WinFormWindow form(events, kLayout);
    form.Show();
    HWND window = form.Handle();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(events.unloads, 1);
    EXPECT_FALSE(IsWindow(window));
  }
  {
    // Closed from inside the click, as a pause in a run does it.
    RecordingEvents events;
    platform::WinFormWindow form(events, kLayout);
    form.Show();
    events.on_click = [&] {
      PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
      Pump();
    };
    SendMessageW(form.ButtonHandle(), BM_CLICK, 0, 0);
    EXPECT_EQ(events.clicks, 1);
    EXPECT_EQ(events.unloads, 1);
    EXPECT_TRUE(*form.ClosedFlag());
  }
  {
    // Going with its owner: no unload.
    RecordingEvents events;
    { platform::WinFormWindow form(events, kLayout); }
    EXPECT_EQ(events.unloads, 0);
  }
}

TEST_F(WindowTest, EndOfSessionAndConsoleControlEventsClose) {
  {
    RecordingEvents events;
    platform::WinFormWindow form(events, kLayout);
    form.Show();
    // Not asked to: the session's end is left to the system.
    EXPECT_EQ(SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(form.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(events.unloads, 0);
  }
  {
    RecordingEvents events;
    platform::WinFormWindow form(events, kLayout);
    form.Show();
    bool destroyed = false;
    form.CloseAtEndOfSession([&] { destroyed = true; });
    SendMessageW(form.Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(events.unloads, 0) << "the session goes on";
    EXPECT_EQ(SendMessageW(form.Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageW(form.Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(events.unloads, 1);
    EXPECT_TRUE(destroyed);
  }
  for (const DWORD event : {CTRL_C_EVENT, CTRL_BREAK_EVENT}) {
    RecordingEvents events;
    platform::WinFormWindow form(events, kLayout);
    form.Show();
    form.CloseAtEndOfSession(platform::ConsoleWindowClosed);
    platform::CloseOnConsoleControl(form.Handle());
    EXPECT_TRUE(platform::ConsoleControlHandler(event));
    EXPECT_EQ(events.unloads, 0) << "closed from the event loop, not the handler's thread";
    Pump();
    EXPECT_EQ(events.unloads, 1);
  }
  EXPECT_FALSE(platform::ConsoleControlHandler(0x77));
}

TEST_F(WindowTest, PaintedWindowPaintsThroughTheCanvasAndReportsTheClose) {
  RecordingEvents events;
  platform::WinFormWindow form(events, kLayout);
  form.Show();
  int paints = 0;
  int closes = 0;
  int pictures_made = 0;
  platform::Color fill{0x20, 0x20, 0x20};
  platform::PaintedWindowSetup setup;
  setup.title = "SLG 2016 \xE2\x80\x94 emulated";
  setup.width = 300;
  setup.height = 100;
  setup.paint = [&](platform::Canvas& canvas) {
    ++paints;
    canvas.FillRect(0, 0, 300, 100, fill);
    canvas.Picture(1, 200, 50, 20, 10, [&](platform::Canvas& picture) {
      ++pictures_made;
      picture.FillRect(0, 0, 20, 10, {0xFF, 0x2A, 0x1A});
    });
  };
  setup.on_close = [&] { ++closes; };
  platform::WinPaintedWindow painted(setup);
  HWND painted_window = FindWindowW(L"StatusanzeigePainted", nullptr);
  ASSERT_NE(painted_window, nullptr);
  EXPECT_EQ(WindowText(painted_window), L"SLG 2016 \x2014 emulated");
  RECT client{};
  GetClientRect(painted_window, &client);
  const unsigned dpi = platform::DpiOf(painted_window);
  EXPECT_EQ(client.right, platform::ScaleToDpi(300, dpi));
  EXPECT_EQ(client.bottom, platform::ScaleToDpi(100, dpi));

  painted.ShowBelow(form);
  EXPECT_GT(paints, 0);
  RECT above{};
  RECT below{};
  GetWindowRect(form.Handle(), &above);
  GetWindowRect(painted_window, &below);
  EXPECT_EQ(below.left, above.left);
  EXPECT_GE(below.top, above.bottom);

  // A refresh repaints its box, scaled, and only that; the picture, made
  // once, is copied.
  const auto px = [dpi](int pixels) { return platform::ScaleToDpi(pixels, dpi); };
  Pump();
  const int before = paints;
  fill = {0x40, 0x80, 0xC0};
  painted.Refresh(10, 20, 30, 40);
  RECT update{};
  ASSERT_TRUE(GetUpdateRect(painted_window, &update, FALSE));
  EXPECT_EQ(update.left, px(10));
  EXPECT_EQ(update.top, px(20));
  EXPECT_EQ(update.right, px(40));
  EXPECT_EQ(update.bottom, px(60));
  Pump();
  EXPECT_GT(paints, before);
  HDC screen = GetDC(painted_window);
  EXPECT_EQ(GetPixel(screen, px(10), px(20)), RGB(0x40, 0x80, 0xC0)) << "inside the box";
  EXPECT_EQ(GetPixel(screen, px(40) - 1, px(60) - 1), RGB(0x40, 0x80, 0xC0));
  EXPECT_EQ(GetPixel(screen, px(40), px(20)), RGB(0x20, 0x20, 0x20)) << "beside it";
  EXPECT_EQ(GetPixel(screen, px(200), px(50)), RGB(0xFF, 0x2A, 0x1A)) << "the picture";
  ReleaseDC(painted_window, screen);
  painted.Refresh(0, 0, 300, 100);
  Pump();
  EXPECT_EQ(pictures_made, 1);

  SendMessageW(painted_window, WM_CLOSE, 0, 0);
  EXPECT_EQ(closes, 1) << "the listener decides";
  painted.Close();
  EXPECT_EQ(closes, 1) << "closed by the program: no listener call";
  painted.Refresh(0, 0, 300, 100);  // harmless once closed
}

// A 32-bit DIB to paint on and read back.
struct Surface {
  explicit Surface(int size) : size(size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old = SelectObject(dc, bitmap);
  }
  ~Surface() {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
  [[nodiscard]] COLORREF At(int x, int y) const {
    GdiFlush();
    const auto* pixel =
        static_cast<const std::uint8_t*>(bits) + (static_cast<std::ptrdiff_t>(y) * size + x) * 4;
    return RGB(pixel[2], pixel[1], pixel[0]);
  }
  int size;
  HDC dc = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ old = nullptr;
  void* bits = nullptr;
};

TEST(GdiCanvas, PaintsAtTheWindowsDpi) {
  constexpr platform::Color kRed{0xFF, 0x2A, 0x1A};
  constexpr platform::Color kDark{0x12, 0x06, 0x06};
  for (const unsigned dpi : {96U, 192U}) {
    SCOPED_TRACE(dpi);
    Surface surface(200);
    platform::GdiCanvas canvas(surface.dc, dpi, nullptr);
    const int k = static_cast<int>(dpi / 96);
    canvas.FillRect(0, 0, 50, 50, kDark);
    canvas.FillRect(10, 10, 5, 5, kRed);
    EXPECT_EQ(surface.At(10 * k, 10 * k), RGB(0xFF, 0x2A, 0x1A));
    EXPECT_EQ(surface.At(15 * k - 1, 15 * k - 1), RGB(0xFF, 0x2A, 0x1A));
    EXPECT_EQ(surface.At(15 * k, 15 * k), RGB(0x12, 0x06, 0x06));
    EXPECT_EQ(surface.At(9 * k, 9 * k), RGB(0x12, 0x06, 0x06));

    canvas.Ellipse(20, 20, 8, 8, kRed);
    EXPECT_EQ(surface.At(24 * k, 24 * k), RGB(0xFF, 0x2A, 0x1A)) << "centre";
    EXPECT_EQ(surface.At(20 * k, 20 * k), RGB(0x12, 0x06, 0x06)) << "outside the circle";

    canvas.RoundedRect(30, 30, 15, 15, 3, kRed, {0x55, 0x55, 0x55});
    EXPECT_EQ(surface.At(37 * k, 37 * k), RGB(0xFF, 0x2A, 0x1A)) << "inside";
    EXPECT_EQ(surface.At(37 * k, 30 * k), RGB(0x55, 0x55, 0x55)) << "outline";

    // A picture lands where it goes, painted in place or copied from the
    // bitmap made once for its DPI.
    fakes::CountedPicture counted;
    const auto dot = counted.Paint();
    platform::GdiPictures pictures;
    platform::GdiCanvas keeping(surface.dc, dpi, nullptr, &pictures);
    for (const auto& [on, left] :
         {std::pair{&canvas, 50}, std::pair{&keeping, 70}, std::pair{&keeping, 85}}) {
      on->Picture(7, left, 60, 10, 10, dot);
      EXPECT_EQ(surface.At((left + 2) * k, 63 * k), RGB(0xFF, 0x2A, 0x1A)) << left;
      EXPECT_EQ(surface.At((left + 6) * k - 1, 68 * k - 1), RGB(0xFF, 0x2A, 0x1A)) << left;
      EXPECT_EQ(surface.At((left + 6) * k, 63 * k), RGB(0x12, 0x06, 0x06)) << left;
      EXPECT_EQ(surface.At((left + 1) * k, 63 * k), RGB(0x12, 0x06, 0x06)) << left;
    }
    EXPECT_EQ(counted.made, 2) << "once in place, once for the kept bitmap";
    pictures.Get(7, surface.dc, dpi + 96, nullptr, 10, 10, dot);
    EXPECT_EQ(counted.made, 3) << "at another DPI, anew";
  }
}

}  // namespace
