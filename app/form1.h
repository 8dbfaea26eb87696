// The program's only window. It owns the device link for its whole lifetime
// and, through the objects below, all of the program's state.
#pragma once

#include <QWidget>
#include <functional>

#include "display/display_port.h"
#include "display/ticker.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/iowkit.h"
#include "platform/sensors.h"
#include "status/status_run.h"

class QPushButton;

inline constexpr char kForm1Caption[] = " Statusanzeige mit SLG 2016 von Wendrik Pfarlow Morvik";
inline constexpr char kNoDeviceText[] = "Can not open device!";
inline constexpr char kNoDeviceTitle[] = "Error";

class Form1 : public QWidget {
 public:
  // Shows a modal message box with one OK button and returns once dismissed.
  using MessageBoxFunction = std::function<void(const QString& title, const QString& text)>;

  Form1(platform::Iowkit& iowkit, platform::Clock& clock, platform::EventPump& events,
        platform::Sensors& sensors, QWidget* parent = nullptr);
  ~Form1() override;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Opens the device link before the window is shown. Without a device it
  // shows "Can not open device!" and returns false: the program then ends
  // without showing the window.
  bool Form_Load();
  // Closes the device link and ends a run in progress; never refuses the close.
  void Form_Unload();
  // Runs the status run once. Ignored while a run is already in progress.
  void AnzeigestartButton_Click();

  void SetMessageBoxFunction(MessageBoxFunction show) { message_box_ = std::move(show); }
  // Called once the device link is closed, when the window unloads.
  void SetUnloadListener(std::function<void()> listener) { unload_listener_ = std::move(listener); }

  [[nodiscard]] bool Running() const { return running_; }
  QPushButton* AnzeigestartButton = nullptr;
  display::DisplayPort& Port() { return port_; }
  display::Ticker& Ticker() { return ticker_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  platform::Iowkit& iowkit_;
  display::DisplayPort port_;
  display::Ticker ticker_;
  status::StatusRunner runner_;
  MessageBoxFunction message_box_;
  std::function<void()> unload_listener_;
  bool loaded_ = false;
  bool unloaded_ = false;
  bool running_ = false;
};

// The modal error box: the text, the title, one OK button and no icon.
void ShowMessageBox(const QString& title, const QString& text);
