// SPDX-License-Identifier: GPL-2.0-or-later
// A whole platform without a window system: fake windows, clock, event
// processing, controller and sensors, so the programs' start-up can run in a
// test. Run() plays the user: it calls `user` once, then returns.
#pragma once

#include <memory>
#include <sstream>

#include "fakes.h"
#include "platform/toolkit.h"

namespace fakes {

class FakePaintedWindow : public platform::PaintedWindow {
 public:
  explicit FakePaintedWindow(platform::PaintedWindowSetup setup) : setup(std::move(setup)) {}
  void ShowBelow(const platform::FormWindow& /*beside*/) override { visible = true; }
  void Refresh() override { ++refreshes; }
  void Close() override { visible = false; }
  // The user closes it with its close button.
  void UserClose() {
    visible = false;
    if (setup.on_close) setup.on_close();
  }

  platform::PaintedWindowSetup setup;
  bool visible = false;
  int refreshes = 0;
};

class FakeToolkit : public platform::Toolkit {
 public:
  explicit FakeToolkit(std::vector<std::string> arguments = {})
      : arguments_(std::move(arguments)) {}

  [[nodiscard]] std::vector<std::string> Arguments() const override { return arguments_; }
  std::ostream& Errors() override { return errors; }
  std::ostream& Output() override { return output; }
  bool Start() override {
    started = true;
    return true;
  }
  platform::Clock& Clocks() override { return clock; }
  platform::EventPump& Events() override { return events; }
  std::unique_ptr<platform::Iowkit> Controller() override {
    return std::make_unique<ForwardingIowkit>(iowkit);
  }
  std::unique_ptr<platform::Sensors> MachineSensors() override {
    return std::make_unique<ForwardingSensors>(sensors);
  }
  void SetProgramIcon(const std::function<void(platform::Canvas&)>& /*paint*/) override {
    icon_set = true;
  }
  std::unique_ptr<platform::FormWindow> MakeFormWindow(
      platform::FormEvents& events_to, const platform::FormLayout& layout) override {
    auto window = std::make_unique<FakeWindow>(events_to);
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
    if (user) user();
    return 0;
  }

  FakeClock clock{43200.0};
  FakeEventPump events{clock};
  RecordingIowkit iowkit;
  FakeSensors sensors;
  std::ostringstream errors;
  std::ostringstream output;
  std::function<void()> user;
  FakeWindow* form_window = nullptr;
  FakePaintedWindow* painted_window = nullptr;
  platform::FormLayout form_layout;
  bool started = false;
  bool icon_set = false;
  bool termination_hooked = false;
  int runs = 0;

 private:
  // The program owns what Controller() and MachineSensors() return; these
  // pass the calls on to the toolkit's recording fakes.
  class ForwardingIowkit : public platform::Iowkit {
   public:
    explicit ForwardingIowkit(platform::Iowkit& to) : to_(to) {}
    platform::IowkitHandle IowKitOpenDevice() override { return to_.IowKitOpenDevice(); }
    std::uint32_t IowKitWrite(platform::IowkitHandle handle, std::uint32_t pipe,
                              const std::uint8_t* buffer, std::uint32_t length) override {
      return to_.IowKitWrite(handle, pipe, buffer, length);
    }
    void IowKitCloseDevice(platform::IowkitHandle handle) override {
      to_.IowKitCloseDevice(handle);
    }

   private:
    platform::Iowkit& to_;
  };
  class ForwardingSensors : public platform::Sensors {
   public:
    explicit ForwardingSensors(platform::Sensors& to) : to_(to) {}
    std::int32_t Read(platform::Reading reading) override { return to_.Read(reading); }
    [[nodiscard]] std::string Describe(platform::Reading reading) const override {
      return to_.Describe(reading);
    }

   private:
    platform::Sensors& to_;
  };

  std::vector<std::string> arguments_;
};

}  // namespace fakes
