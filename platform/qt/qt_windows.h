// SPDX-License-Identifier: GPL-2.0-or-later
// The program's windows as Qt widgets.
#pragma once

#include <QPushButton>
#include <QWidget>

#include "platform/qt/qt_canvas.h"
#include "platform/window.h"
#include "platform/window_system.h"

namespace platform {

class QtFormWindow final : public QWidget, public FormWindow {
 public:
  QtFormWindow(FormEvents& events, const FormLayout& layout);

  void ShowMessageBox(const std::string& title, const std::string& text) override;
  void Show() override { show(); }
  void ShowMinimized() override { showMinimized(); }
  void SetButtonEnabled(bool enabled) override { button_->setEnabled(enabled); }
  void ClickLater() override;
  void Close() override { close(); }

  [[nodiscard]] QPushButton* Button() const { return button_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  FormEvents& events_;
  QPushButton* button_;
  bool unloaded_ = false;
};

class QtPaintedWindow final : public QWidget, public PaintedWindow {
 public:
  explicit QtPaintedWindow(PaintedWindowSetup setup);

  void ShowBelow(const FormWindow& beside) override;
  void Refresh(int x, int y, int width, int height) override { update(x, y, width, height); }
  void Close() override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  PaintedWindowSetup setup_;
  QtPictures pictures_;
  bool closing_ = false;
};

// The modal error box: the text, the title, one OK button and no icon.
void ShowQtMessageBox(QWidget* parent, const QString& title, const QString& text);

}  // namespace platform
