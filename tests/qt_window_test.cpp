// SPDX-License-Identifier: GPL-2.0-or-later
// The Qt windows: layout, the error box, clicks and the close, termination
// signals, the painted window, and the demo program ending on SIGTERM.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "emulator/display_model.h"
#include "emulator/display_view.h"
#include "fakes.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_windows.h"
#include "platform/qt/termination_signals.h"

namespace {

struct CountingEvents : platform::FormEvents {
  void AnzeigestartButton_Click() override { ++clicks; }
  void Form_Unload() override { ++unloads; }
  int clicks = 0;
  int unloads = 0;
};

TEST(QtFormWindow, HasTheLayoutAndPassesClicksAndOneUnloadOn) {
  CountingEvents events;
  platform::QtFormWindow window(events, Form1Layout());
  EXPECT_EQ(window.windowTitle(), " Statusanzeige mit SLG 2016 von Wendrik Pfarlow Morvik");
  EXPECT_EQ(window.size(), QSize(525, 144));
  EXPECT_EQ(window.minimumSize(), window.maximumSize()) << "fixed size";
  EXPECT_EQ(window.Button()->text(), "Anzeigestart");
  EXPECT_EQ(window.Button()->geometry(), QRect(16, 96, 89, 33));
  window.Show();
  window.Button()->click();
  window.SetButtonEnabled(false);
  window.Button()->click();
  EXPECT_EQ(events.clicks, 1) << "a disabled button takes no click";
  window.Close();
  window.Close();
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(events.unloads, 1);
}

// The pause sleeps in the pump: with nothing pending it waits (at least
// about) the time asked for, rather than returning at once and spinning.
TEST(QtEventPump, WithNothingPendingWaitsTheTimeAskedFor) {
  platform::QtEventPump pump;
  QCoreApplication::processEvents();
  const auto began = std::chrono::steady_clock::now();
  pump.ProcessEvents(0.05);
  EXPECT_GE(std::chrono::steady_clock::now() - began, std::chrono::milliseconds(45));
}

TEST(QtFormWindow, TerminationSignalsCloseItThroughItsUnload) {
  CountingEvents events;
  platform::QtFormWindow window(events, Form1Layout());
  platform::OnTerminationSignals(&window, [&window] { window.Close(); });
  for (const int signal : {SIGTERM, SIGINT}) {
    window.Show();
    ASSERT_TRUE(window.isVisible());
    std::raise(signal);
    for (int i = 0; i < 200 && window.isVisible(); ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    EXPECT_FALSE(window.isVisible()) << "signal " << signal;
  }
  EXPECT_EQ(events.unloads, 1) << "unloaded once";
}

// Waits up to `seconds` for `done`, looking every 10 ms.
bool Within(double seconds, const std::function<bool()>& done) {
  for (int i = 0; i < seconds * 100; ++i) {
    if (done()) return true;
    ::usleep(10000);
  }
  return done();
}

// The demo program, started with `arguments` and a report log of its own;
// `ready` (given the log's path) says when to send SIGTERM.
// The program starts with SIGTERM blocked, so one sent early waits for its
// handler rather than ending it (whether a handler is there cannot be read
// off /proc under qemu-user, whose own handlers are there from the start).
// Returns the exit status and the log.
std::pair<int, std::string> DemoUntilSigterm(std::vector<std::string> arguments, char** env,
                                             const std::function<bool(const std::string&)>& ready) {
  const std::string log = ::testing::TempDir() + "demo-" + std::to_string(::getpid()) + ".log";
  std::remove(log.c_str());
  arguments.insert(arguments.begin(), {STATUSANZEIGE_DEMO, "--report-log", log});
  // A cross-built demo runs under the build's emulator.
  const char* const emulator = STATUSANZEIGE_EMULATOR;
  if (*emulator != '\0') arguments.insert(arguments.begin(), emulator);
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 1);
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  posix_spawnattr_t blocked{};
  sigset_t sigterm;
  sigemptyset(&sigterm);
  sigaddset(&sigterm, SIGTERM);
  posix_spawnattr_init(&blocked);
  posix_spawnattr_setflags(&blocked, POSIX_SPAWN_SETSIGMASK);
  posix_spawnattr_setsigmask(&blocked, &sigterm);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, argv[0], nullptr, &blocked, argv.data(), env);
  posix_spawnattr_destroy(&blocked);
  if (spawned != 0) return {-1, "not started"};
  int status = -1;
  const auto ended = [&] { return ::waitpid(pid, &status, WNOHANG) == pid; };
  if (!Within(30, [&] { return ended() || ready(log); }) || status != -1) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return {-1, "did not come up"};
  }
  ::kill(pid, SIGTERM);
  if (!Within(10, ended)) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return {-1, "still running after SIGTERM"};
  }
  std::ostringstream reports;
  reports << std::ifstream(log).rdbuf();
  std::remove(log.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, reports.str()};
}

TEST(QtDemo, SigtermClosesBothWindowsAndEndsTheProgramWithoutAReport) {
  // SIGTERM at once: taken as a close once its windows are up; the emulated
  // display's window must close too, or the event loop goes on.
  const auto [status, reports] =
      DemoUntilSigterm({}, environ, [](const std::string& /*log*/) { return true; });
  EXPECT_EQ(status, 0) << reports;
  EXPECT_EQ(reports, "") << "no click, so no report, nor at the close";
}

TEST(QtDemo, WithoutAWindowRunsWithNoDisplayServerUntilSigterm) {
  char no_display[] = "QT_QPA_PLATFORM=xcb";  // would fail, were Qt started
  char* env[] = {no_display, nullptr};
  const std::size_t steps_before = 2;
  const auto [status, reports] =
      DemoUntilSigterm({"--no-window"}, env, [&](const std::string& log) {
        std::size_t lines = 0;
        std::ifstream in(log);
        for (std::string line; std::getline(in, line);) ++lines;
        return lines >= 3 + (steps_before * 24);
      });
  EXPECT_EQ(status, 0) << reports;
  const auto lines = static_cast<std::size_t>(std::count(reports.begin(), reports.end(), '\n'));
  EXPECT_GE(lines, 3 + (steps_before * 24)) << "the clear, then the steps";
  EXPECT_EQ((lines - 3) % 24, 0U) << "whole steps only: nothing after the request";
}

TEST(QtMessageBox, IsModalWithOneOkButtonAndNoIcon) {
  bool checked = false;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), "Error");
    EXPECT_EQ(box->text(), "Can not open device!");
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_TRUE(box->isModal());
    checked = true;
    box->button(QMessageBox::Ok)->click();
  });
  CountingEvents events;
  platform::QtFormWindow window(events, Form1Layout());
  window.ShowMessageBox("Error", "Can not open device!");
  EXPECT_TRUE(checked);
}

TEST(QtPaintedWindow, DrawsTheEmulatedDisplayWithLitDotsOnlyForWrittenCharacters) {
  emulator::DisplayModel model;
  const emulator::DisplayView view(model);
  int user_closes = 0;
  platform::QtPaintedWindow window({emulator::kEmulatorTitle, emulator::DisplayView::Width(),
                                    emulator::DisplayView::Height(),
                                    [&view](platform::Canvas& canvas) { view.Paint(canvas); },
                                    [&user_closes] { ++user_closes; }});
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("SLG 2016 \u2014 emulated"));
  const auto lit_pixels = [&] {
    const QImage image = window.grab().toImage();
    int lit = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        if (c.red() > 200 && c.green() < 90) ++lit;
      }
    }
    return lit;
  };
  EXPECT_EQ(lit_pixels(), 0) << "a blank display is dark";
  model.SetPorts(0xFB, '8');
  model.SetPorts(0xFF, '8');
  const int one = lit_pixels();
  EXPECT_GT(one, 0);
  model.SetPorts(0xE5, '8');
  model.SetPorts(0xE7, '8');
  EXPECT_EQ(lit_pixels(), 2 * one) << "the same glyph at position 7";

  window.show();
  window.Close();
  EXPECT_EQ(user_closes, 0) << "closing it from the program is no user's close";
  window.show();
  window.close();
  EXPECT_EQ(user_closes, 1);
}

// A picture lands where it goes, painted in place or copied from the pixmap
// made once for its device pixel ratio (here 2); a repaint covers only its
// region.
TEST(QtCanvas, PicturesAreMadeOncePerRatioAndCopiedOnlyIntoTheRepaintedRegion) {
  fakes::CountedPicture counted;
  const auto dot = counted.Paint();
  platform::QtPictures pictures;
  QImage image(200, 80, QImage::Format_RGB32);  // at 200 %
  image.setDevicePixelRatio(2.0);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    platform::QtCanvas in_place(painter);
    in_place.Picture(7, 10, 10, 10, 10, dot);
    platform::QtCanvas keeping(painter, &pictures);
    keeping.Picture(7, 30, 10, 10, 10, dot);
    keeping.Picture(7, 50, 10, 10, 10, dot);
    platform::QtCanvas repainting(painter, &pictures, QRegion(70, 10, 4, 10));
    repainting.Picture(7, 70, 10, 10, 10, dot);
    repainting.FillRect(70, 25, 20, 5, fakes::CountedPicture::kRed);
  }
  const auto at = [&](int x, int y) {
    return image.pixelColor(2 * x + 1, 2 * y + 1).rgb() & 0xFFFFFFU;
  };
  for (const int left : {10, 30, 50, 70}) {
    EXPECT_EQ(at(left + 2, 13), 0xFF2A1AU) << left;
    EXPECT_EQ(at(left + 3, 17), 0xFF2A1AU) << left;
    EXPECT_EQ(at(left + 1, 13), 0x120606U) << left;
  }
  EXPECT_EQ(at(50 + 5, 13), 0xFF2A1AU);
  EXPECT_EQ(at(70 + 4, 13), 0xFFFFFFU) << "beside the repainted region";
  EXPECT_EQ(at(75, 27), 0xFFFFFFU) << "a fill outside it";
  EXPECT_EQ(counted.made, 2) << "once in place, once for the kept pixmap";
  EXPECT_EQ(pictures.Get(7, 10, 10, 2.0, dot).size(), QSize(20, 20));
  const QPixmap& plain = pictures.Get(7, 10, 10, 1.0, dot);
  EXPECT_EQ(counted.made, 3) << "at another ratio, anew";
  EXPECT_EQ(plain.size(), QSize(10, 10));
}

}  // namespace
