// SPDX-License-Identifier: GPL-2.0-or-later
#include "emulator/demo.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "emulator/display_model.h"
#include "emulator/display_view.h"
#include "emulator/emulated_iowkit.h"
#include "emulator/emulated_sensors.h"

namespace emulator {
namespace {

// The demo is statusanzeige with an emulated controller, emulated readings
// (unless --system-sensors) and the emulated display in a second window.
class DemoProgram final : public app::Program {
 public:
  [[nodiscard]] bool Demo() const override { return true; }

  bool Prepare(const CommandLine& line, platform::Reporter& reporter) override {
    // Each report goes to the log and to the display's window, where there
    // are such.
    iowkit_.SetReportListener([this](const std::uint8_t* report) {
      if (log_) log_->Write(report);
      if (display_) view_.RefreshChanged(*display_);
    });
    if (line.report_log.empty()) return true;
    log_file_.reset(std::fopen(line.report_log.c_str(), "a"));
    if (!log_file_) {
      reporter.Say("cannot open report log " + line.report_log + ": " + std::strerror(errno));
      return false;
    }
    log_.emplace(log_file_.get(), EpochSeconds);
    return true;
  }

  platform::Iowkit& Controller(platform::Machine& /*machine*/) override { return iowkit_; }

  platform::Sensors& Sensors(const CommandLine& line, platform::Machine& machine) override {
    if (line.system_sensors) return machine.MachineSensors();
    if (!emulated_) emulated_ = std::make_unique<EmulatedSensors>(machine.Clocks());
    return *emulated_;
  }

  void Shown(platform::WindowSystem& windows, platform::FormWindow& window) override {
    form_window_ = &window;
    display_ =
        windows.MakePaintedWindow({kEmulatorTitle, DisplayView::Width(), DisplayView::Height(),
                                   [this](platform::Canvas& canvas) { view_.Paint(canvas); },
                                   // Closing either window ends the program the same way.
                                   [this] {
                                     if (form_window_ != nullptr) form_window_->Close();
                                   }});
    display_->ShowBelow(window);
  }

  void Unloaded() override {
    form_window_ = nullptr;
    if (display_) display_->Close();
  }

 private:
  DisplayModel model_;
  EmulatedIowkit iowkit_{model_};
  DisplayView view_{model_};
  std::unique_ptr<EmulatedSensors> emulated_;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> log_file_{nullptr, std::fclose};
  std::optional<ReportLog> log_;
  platform::FormWindow* form_window_ = nullptr;
  std::unique_ptr<platform::PaintedWindow> display_;
};

}  // namespace

int RunDemo(app::Platform& platform) {
  DemoProgram demo;
  return app::Run(demo, platform);
}

}  // namespace emulator
