// Draws the two emulated SLG 2016 modules as they would look: eight red
// 5 x 7 dot-matrix characters, four on each module.
#pragma once

#include <QWidget>
#include <functional>

#include "emulator/display_model.h"

namespace emulator {

inline constexpr char16_t kEmulatorTitle[] = u"SLG 2016 \u2014 emulated";

class EmulatorWindow : public QWidget {
 public:
  explicit EmulatorWindow(const DisplayModel& model, QWidget* parent = nullptr);

  // Schedules a repaint after the pins changed.
  void Refresh() { update(); }
  void SetCloseListener(std::function<void()> listener) { close_listener_ = std::move(listener); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  const DisplayModel& model_;
  std::function<void()> close_listener_;
};

}  // namespace emulator
