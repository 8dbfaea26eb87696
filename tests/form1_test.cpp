#include "app/form1.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <csignal>

#include "fakes.h"
#include "platform/qt/termination_signals.h"

namespace {

struct FormFixture : ::testing::Test {
  FormFixture() {
    iowkit.model = &model;
    sensors.steady = {{"GetCPUTemperature", 45}, {"GetMBTemperature", 38}, {"GetVoltIN1", 1650},
                      {"GetVoltIN2", 3312},      {"GetVoltIN3", 5026},     {"GetVoltIN4", 12160},
                      {"GetFanCPURPM", 3125}};
    form.SetMessageBoxFunction(
        [this](const QString& title, const QString& text) { boxes.emplace_back(title, text); });
  }
  fakes::RecordingIowkit iowkit;
  emulator::DisplayModel model;
  fakes::FakeClock clock{43200.0};
  fakes::FakeEventPump events{clock};
  fakes::FakeSensors sensors;
  Form1 form{iowkit, clock, events, sensors};
  std::vector<std::pair<QString, QString>> boxes;
};

TEST_F(FormFixture, WithoutADeviceShowsOneErrorBoxAndNoWindow) {
  iowkit.open_result = 0;
  EXPECT_FALSE(form.Form_Load());
  ASSERT_EQ(boxes.size(), 1U);
  EXPECT_EQ(boxes[0].first, "Error");
  EXPECT_EQ(boxes[0].second, "Can not open device!");
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(iowkit.opens, 1);
  EXPECT_TRUE(iowkit.closes.empty()) << "no unload without a device";
  EXPECT_TRUE(iowkit.writes.empty());
}

TEST_F(FormFixture, OpenThenCloseWithoutAClickSendsNothing) {
  ASSERT_TRUE(form.Form_Load());
  EXPECT_TRUE(boxes.empty());
  form.show();
  EXPECT_EQ(form.Port().DeviceHandle, iowkit.open_result);
  form.close();
  EXPECT_EQ(iowkit.opens, 1);
  EXPECT_EQ(iowkit.closes, std::vector<platform::IowkitHandle>{iowkit.open_result});
  EXPECT_TRUE(iowkit.writes.empty()) << "the display is not touched at start or close";
}

TEST_F(FormFixture, WindowLayoutCaptionAndInitialState) {
  EXPECT_EQ(form.windowTitle(), " Statusanzeige mit SLG 2016 von Wendrik Pfarlow Morvik");
  EXPECT_EQ(form.size(), QSize(525, 144));
  EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "fixed size";
  ASSERT_NE(form.AnzeigestartButton, nullptr);
  EXPECT_EQ(form.AnzeigestartButton->text(), "Anzeigestart");
  EXPECT_EQ(form.AnzeigestartButton->geometry(), QRect(16, 96, 89, 33));
  EXPECT_EQ(form.Port().DeviceHandle, 0U);
  EXPECT_EQ(form.Port().ControlByte, 0);
  EXPECT_EQ(form.Port().DataByte, 0);
  EXPECT_EQ(form.Port().Position, 0);
  EXPECT_EQ(form.Port().Report, (std::array<std::uint8_t, 5>{}));
  EXPECT_EQ(form.Ticker().PauseSeconds, 0);
  EXPECT_EQ(form.Ticker().PauseStart, 0);
  EXPECT_EQ(form.Ticker().DisplayText, "");
}

TEST_F(FormFixture, AClickRunsTheWholeStatusRunAndClicksInsideItAreIgnored) {
  ASSERT_TRUE(form.Form_Load());
  form.show();
  bool disabled_during_run = false;
  events.At(clock.Monotonic() + 5.2, [&] {
    disabled_during_run = !form.AnzeigestartButton->isEnabled();
    form.AnzeigestartButton->click();  // the real button: disabled
    form.AnzeigestartButton_Click();   // and the handler itself
  });
  form.AnzeigestartButton->click();
  EXPECT_TRUE(disabled_during_run);
  EXPECT_EQ(iowkit.writes.size(), 9267U) << "exactly one run";
  EXPECT_EQ(sensors.calls.size(), 20U);
  EXPECT_TRUE(form.AnzeigestartButton->isEnabled());
  EXPECT_FALSE(form.Running());
  EXPECT_EQ(model.Shown(), "        ");
}

TEST_F(FormFixture, ClosingInsideAPauseEndsTheRunAndNothingIsSentAfterwards) {
  ASSERT_TRUE(form.Form_Load());
  form.show();
  std::size_t writes_at_close = 0;
  const double click_at = clock.Monotonic();
  events.At(click_at + 130.4, [&] {
    writes_at_close = iowkit.writes.size();
    form.close();
  });
  form.AnzeigestartButton->click();
  EXPECT_GT(writes_at_close, 0U);
  EXPECT_EQ(iowkit.writes.size(), writes_at_close);
  EXPECT_EQ(iowkit.closes.size(), 1U);
  EXPECT_LT(clock.Monotonic() - click_at, 131.0) << "the run ends with the close";
  EXPECT_EQ(sensors.calls.size(), 2U) << "only the CPU temperature was read";
  form.AnzeigestartButton_Click();
  EXPECT_EQ(iowkit.writes.size(), writes_at_close) << "no run after the close";
}

TEST_F(FormFixture, TerminationSignalsCloseTheWindowThroughItsUnloadHandler) {
  ASSERT_TRUE(form.Form_Load());
  platform::CloseOnTerminationSignals(&form);
  for (const int signal : {SIGTERM, SIGINT}) {
    form.show();
    ASSERT_TRUE(form.isVisible());
    std::raise(signal);
    for (int i = 0; i < 200 && form.isVisible(); ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 10);
    }
    EXPECT_FALSE(form.isVisible()) << "signal " << signal;
  }
  EXPECT_EQ(iowkit.closes.size(), 1U) << "the link is closed once";
}

TEST(ShowMessageBox, IsModalWithOneOkButtonAndNoIcon) {
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
  ShowMessageBox("Error", "Can not open device!");
  EXPECT_TRUE(checked);
}

}  // namespace
