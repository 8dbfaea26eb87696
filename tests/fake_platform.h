// SPDX-License-Identifier: GPL-2.0-or-later
// A whole platform without a window system: the fake machine (clock,
// controller, sensors), fake windows and event processing, so the programs'
// start-up runs in a test. The window system's Run() plays the user: it
// calls `user` once, then returns.
#pragma once

#include <array>
#include <memory>
#include <sstream>

#include "app/program.h"
#include "fakes.h"

namespace fakes {

class FakeMachine : public platform::Machine {
 public:
  platform::Clock& Clocks() override { return clock; }
  platform::Iowkit& Controller() override { return iowkit; }
  platform::Sensors& MachineSensors() override { return sensors; }
  platform::MachineFacts& Facts() override { return facts; }

  FakeClock clock{43200.0};
  RecordingIowkit iowkit;
  FakeSensors sensors;
  FakeFacts facts;
};

class FakePaintedWindow : public platform::PaintedWindow {
 public:
  explicit FakePaintedWindow(platform::PaintedWindowSetup setup) : setup(std::move(setup)) {}
  void ShowBelow(const platform::FormWindow& /*beside*/) override { visible = true; }
  void Refresh(int x, int y, int width, int height) override {
    refreshed.push_back({x, y, width, height});
  }
  void Close() override { visible = false; }
  // The user closes it with its close button.
  void UserClose() {
    visible = false;
    if (setup.on_close) setup.on_close();
  }

  platform::PaintedWindowSetup setup;
  bool visible = false;
  // The boxes asked to be repainted, in turn: x, y, width, height.
  std::vector<std::array<int, 4>> refreshed;
};

class FakeWindowSystem : public platform::WindowSystem {
 public:
  bool Start() override {
    started = true;
    return true;
  }
  void SetProgramIcon(const std::function<void(platform::Canvas&)>& /*paint*/) override {
    icon_set = true;
  }
  std::unique_ptr<platform::FormWindow> MakeFormWindow(
      platform::FormEvents& events, const platform::FormLayout& layout) override {
    auto window = std::make_unique<FakeWindow>(events);
    window->box_log = &boxes;
    form_window = window.get();
    form_layout = layout;
    return window;
  }
  std::unique_ptr<platform::PaintedWindow> MakePaintedWindow(
      platform::PaintedWindowSetup setup) override {
    auto window = std::make_unique<FakePaintedWindow>(std::move(setup));
    painted_window = window.get();
    return window;
  }
  void CloseOnTermination(platform::FormWindow& /*window*/) override { termination_hooked = true; }
  int Run() override {
    ++runs;
    for (; form_window != nullptr && form_window->clicks_queued > 0; --form_window->clicks_queued) {
      form_window->ClickButton();
    }
    if (user) user();
    return 0;
  }

  std::function<void()> user;
  FakeWindow* form_window = nullptr;  // only while the program runs
  FakePaintedWindow* painted_window = nullptr;
  std::vector<std::pair<std::string, std::string>> boxes;  // every box the form showed
  platform::FormLayout form_layout;
  bool started = false;
  bool icon_set = false;
  bool termination_hooked = false;
  int runs = 0;
};

// Running without windows, on the fake event processing; Terminate() is a
// termination request.
class FakeWindowless : public platform::Windowless {
 public:
  explicit FakeWindowless(FakeEventPump& events) : events_(events) {}
  platform::EventPump& Events() override { return events_; }
  void OnTermination(std::function<void()> stop) override { stop_ = std::move(stop); }
  void Terminate() {
    if (stop_) stop_();
  }

 private:
  FakeEventPump& events_;
  std::function<void()> stop_;
};

// Everything a program runs on, faked; `parts` is what the program gets.
struct FakePlatform {
  explicit FakePlatform(std::vector<std::string> arguments = {},
                        std::string_view program = platform::kStatusanzeige)
      : reporter(program, errors),
        parts{std::move(arguments), output, reporter, machine, &windows, events, &windowless} {}

  std::ostringstream output;
  std::ostringstream errors;
  platform::Reporter reporter;
  FakeMachine machine;
  FakeWindowSystem windows;
  FakeEventPump events{machine.clock};
  FakeWindowless windowless{events};
  app::Platform parts;
};

}  // namespace fakes
