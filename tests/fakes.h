// SPDX-License-Identifier: GPL-2.0-or-later
// Fakes of the platform boundary: controller, clock, event processing,
// sensors and the main window.
#pragma once

#include <cmath>
#include <cstdint>
#include <deque>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/display_model.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/event_pump.h"
#include "platform/iowkit.h"
#include "platform/machine_facts.h"
#include "platform/reporter.h"
#include "platform/sensors.h"
#include "platform/window.h"

namespace fakes {

using Bytes = std::vector<std::uint8_t>;

#ifdef STATUSANZEIGE_TEST_DATA
// A file of tests/data, whole.
inline std::string DataFile(const std::string& name) {
  std::ifstream file(std::string(STATUSANZEIGE_TEST_DATA) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}
#endif

// What statusanzeige says, caught: its reporter writes to a string.
struct Said {
  std::ostringstream text;
  platform::Reporter reporter{platform::kStatusanzeige, text};
  [[nodiscard]] std::string str() const { return text.str(); }
};

// What the display shows after each step: every 24 reports (eight
// characters of three reports each), counted after the first `skip` reports
// (3 for the clear that begins a run). Report() is called after each report.
class StepWatch {
 public:
  explicit StepWatch(const emulator::DisplayModel& model, std::size_t skip = 0)
      : model_(model), start_(model.ReportsSeen() + skip) {}
  void Report() {
    const std::size_t seen = model_.ReportsSeen();
    if (seen <= start_ || (seen - start_) % 24 != 0) return;
    if (on_step) on_step();
    windows.push_back(model_.Shown());
  }

  std::vector<std::string> windows;
  // Called at each step, before it is recorded (windows.size() steps before it).
  std::function<void()> on_step;

 private:
  const emulator::DisplayModel& model_;
  std::size_t start_;
};

// The eight-character windows a text shows, one per step.
inline std::vector<std::string> WindowsOf(const std::vector<std::string>& texts) {
  std::vector<std::string> windows;
  for (const std::string& text : texts) {
    for (std::size_t s = 0; s + 8 < text.size(); ++s) windows.push_back(text.substr(s, 8));
  }
  return windows;
}

// Records every controller call; optionally feeds the reports to a display model.
class RecordingIowkit : public platform::Iowkit {
 public:
  platform::IowkitHandle IowKitOpenDevice() override {
    ++opens;
    return open_result;
  }
  std::uint32_t IowKitWrite(platform::IowkitHandle handle, std::uint32_t pipe,
                            const std::uint8_t* buffer, std::uint32_t length) override {
    writes.push_back({handle, pipe, Bytes(buffer, buffer + length)});
    if (model != nullptr) model->Feed(buffer, length);
    if (on_write) on_write();
    return write_result;
  }
  void IowKitCloseDevice(platform::IowkitHandle handle) override { closes.push_back(handle); }

  [[nodiscard]] std::vector<Bytes> Reports() const {
    std::vector<Bytes> reports;
    for (const auto& w : writes) reports.push_back(w.bytes);
    return reports;
  }

  struct Write {
    platform::IowkitHandle handle;
    std::uint32_t pipe;
    Bytes bytes;
  };
  platform::IowkitHandle open_result = 0x2A;
  std::uint32_t write_result = 3;
  int opens = 0;
  std::vector<Write> writes;
  std::vector<platform::IowkitHandle> closes;
  emulator::DisplayModel* model = nullptr;
  std::function<void()> on_write;
};

// Wall clock (seconds since local midnight, falling back to 0 at midnight)
// and a monotonic clock, both moved only by the test.
class FakeClock : public platform::Clock {
 public:
  explicit FakeClock(double wall = 0.0) : wall_(wall) {}
  double SecondsSinceMidnight() override { return wall_; }
  double MonotonicSeconds() override { return monotonic_; }

  void Advance(double seconds) {
    monotonic_ += seconds;
    wall_ = std::fmod(wall_ + seconds, 86400.0);
  }
  // Sets the wall clock without moving the monotonic clock.
  void StepWall(double seconds) { wall_ = std::fmod(wall_ + seconds + 86400.0, 86400.0); }
  [[nodiscard]] double Monotonic() const { return monotonic_; }

 private:
  double wall_;
  double monotonic_ = 1000.0;
};

// Event processing on the fake clock: waiting moves the clock forward, and
// actions scheduled at a monotonic time run as "events" when it comes.
class FakeEventPump : public platform::EventPump {
 public:
  explicit FakeEventPump(FakeClock& clock) : clock_(clock) {}

  void ProcessEvents(double max_wait_seconds) override {
    ++calls;
    if (max_wait_seconds < 0.0) max_wait_seconds = 0.0;
    const double until = clock_.Monotonic() + max_wait_seconds;
    if (!scheduled_.empty() && scheduled_.begin()->first <= until) {
      const auto it = scheduled_.begin();
      if (it->first > clock_.Monotonic()) clock_.Advance(it->first - clock_.Monotonic());
      auto action = std::move(it->second);
      scheduled_.erase(it);
      action();
      return;
    }
    clock_.Advance(max_wait_seconds);
    if (after_wait) after_wait();
  }

  void ProcessEventsUntilSecond(double seconds) override {
    second_waits.push_back(seconds);
    ProcessEvents(seconds);
  }

  // Runs `action` as a window event once the monotonic clock reaches `at`.
  void At(double at, std::function<void()> action) { scheduled_.emplace(at, std::move(action)); }

  int calls = 0;
  std::vector<double> second_waits;  // the waits that were for a whole second
  std::function<void()> after_wait;

 private:
  FakeClock& clock_;
  std::multimap<double, std::function<void()>> scheduled_;
};

// Scripted readings: each function returns its queued values in turn, then
// its steady value. Every call is logged by function name.
class FakeSensors : public platform::Sensors {
 public:
  std::int32_t Read(platform::Reading reading) override {
    return Next(platform::InfoOf(reading).function);
  }
  [[nodiscard]] std::string Describe(platform::Reading reading) const override {
    return std::string("fake ") + platform::InfoOf(reading).function;
  }

  void RunStarts() override { ++runs_started; }

  std::map<std::string, std::int32_t> steady;
  std::map<std::string, std::deque<std::int32_t>> queued;
  std::vector<std::string> calls;
  int runs_started = 0;
  std::function<void(const std::string&)> on_call;

 private:
  std::int32_t Next(const std::string& name) {
    calls.push_back(name);
    if (on_call) on_call(name);
    auto& queue = queued[name];
    if (!queue.empty()) {
      const std::int32_t value = queue.front();
      queue.pop_front();
      return value;
    }
    return steady[name];
  }
};

// Fixed facts of a machine, and no texts file unless `places` name one.
class FakeFacts : public platform::MachineFacts {
 public:
  std::string HostName() override { return host_name; }
  std::string CpuModel() override { return cpu_model; }
  std::uint64_t MemoryMegabytes() override { return memory_mb; }
  platform::LocalTime Now() override { return now; }
  [[nodiscard]] std::vector<std::string> TextsFilePlaces() const override { return places; }

  std::string host_name = "werkstatt";
  std::string cpu_model = "AMD Ryzen 5 5600X 6-Core Processor";
  std::uint64_t memory_mb = 32017;
  platform::LocalTime now{2026, 12, 10, 9, 5};
  std::vector<std::string> places;
};

// A picture for Canvas::Picture, 10 x 10 pixels dark with a red box of 4 x 5
// at (2, 3); it counts how often it is painted.
struct CountedPicture {
  static constexpr platform::Color kRed{0xFF, 0x2A, 0x1A};
  static constexpr platform::Color kDark{0x12, 0x06, 0x06};
  [[nodiscard]] std::function<void(platform::Canvas&)> Paint() {
    return [this](platform::Canvas& picture) {
      ++made;
      picture.FillRect(0, 0, 10, 10, kDark);
      picture.FillRect(2, 3, 4, 5, kRed);
    };
  }
  int made = 0;
};

// The main window without a toolkit: it records what the program asks of it,
// and Close() raises Form_Unload as a real window does.
class FakeWindow : public platform::FormWindow {
 public:
  explicit FakeWindow(platform::FormEvents& events) : events_(events) {}
  void ShowMessageBox(const std::string& title, const std::string& text) override {
    boxes.emplace_back(title, text);
    if (box_log != nullptr) box_log->emplace_back(title, text);
  }
  void Show() override { visible = true; }
  void ShowMinimized() override { visible = minimized = true; }
  void SetButtonEnabled(bool enabled) override { button_enabled = enabled; }
  void ClickLater() override { ++clicks_queued; }
  void Close() override {
    if (closed) return;
    closed = true;
    visible = false;
    events_.Form_Unload();
  }
  // A click on the button, as the toolkit passes it on while it is enabled.
  void ClickButton() {
    if (button_enabled && !closed) events_.AnzeigestartButton_Click();
  }

  std::vector<std::pair<std::string, std::string>> boxes;
  // Where the boxes are kept once the window is gone too; none unless set.
  std::vector<std::pair<std::string, std::string>>* box_log = nullptr;
  bool visible = false;
  bool minimized = false;
  int clicks_queued = 0;  // FakeWindowSystem::Run clicks them
  bool button_enabled = true;
  bool closed = false;

 private:
  platform::FormEvents& events_;
};

}  // namespace fakes
