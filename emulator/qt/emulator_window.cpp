#include "emulator/qt/emulator_window.h"

#include <QCloseEvent>
#include <QPainter>

#include "emulator/font5x7.h"

namespace emulator {
namespace {

constexpr int kPitch = 8;       // dot spacing
constexpr int kDot = 6;         // dot diameter
constexpr int kCharGap = 12;    // between characters on a module
constexpr int kModulePad = 14;  // module edge to first dot
constexpr int kModuleGap = 28;  // between the two modules
constexpr int kMargin = 18;
constexpr int kCharWidth = 5 * kPitch;
constexpr int kCharHeight = 7 * kPitch;
constexpr int kModuleWidth = 2 * kModulePad + 4 * kCharWidth + 3 * kCharGap;
constexpr int kModuleHeight = 2 * kModulePad + kCharHeight;
constexpr int kStatusHeight = 26;

}  // namespace

EmulatorWindow::EmulatorWindow(const DisplayModel& model, QWidget* parent)
    : QWidget(parent), model_(model) {
  setWindowTitle(QString::fromUtf16(kEmulatorTitle));
  setFixedSize(2 * kMargin + 2 * kModuleWidth + kModuleGap,
               2 * kMargin + kModuleHeight + kStatusHeight);
}

void EmulatorWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(rect(), QColor(0x2B, 0x2D, 0x30));

  const QColor lit(0xFF, 0x2A, 0x1A);
  const QColor dark(0x3A, 0x10, 0x0E);
  for (int module = 0; module < 2; ++module) {
    const int left = kMargin + module * (kModuleWidth + kModuleGap);
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    painter.setBrush(QColor(0x12, 0x06, 0x06));
    painter.drawRoundedRect(left, kMargin, kModuleWidth, kModuleHeight, 4, 4);
    painter.setPen(Qt::NoPen);
    for (int digit = 0; digit < 4; ++digit) {
      const std::size_t position = (module * 4U) + static_cast<unsigned>(digit);
      bool on = false;
      const std::uint8_t code = model_.CodeAt(position, &on);
      const auto glyph = on ? Glyph(code) : std::array<std::uint8_t, 5>{};
      const int x0 = left + kModulePad + digit * (kCharWidth + kCharGap);
      for (int column = 0; column < 5; ++column) {
        for (int row = 0; row < 7; ++row) {
          painter.setBrush(((glyph[static_cast<std::size_t>(column)] >> row) & 1U) != 0 ? lit
                                                                                        : dark);
          painter.drawEllipse(x0 + column * kPitch, kMargin + kModulePad + row * kPitch, kDot,
                              kDot);
        }
      }
    }
  }

  painter.setPen(QColor(0xB0, 0xB0, 0xB0));
  const QString status = QString::asprintf("port 0: %02X   port 1: %02X   reports: %zu",
                                           model_.Port0(), model_.Port1(), model_.ReportsSeen());
  painter.drawText(
      QRect(kMargin, kMargin + kModuleHeight + 4, width() - 2 * kMargin, kStatusHeight),
      Qt::AlignLeft | Qt::AlignVCenter, status);
}

void EmulatorWindow::closeEvent(QCloseEvent* event) {
  event->accept();
  if (close_listener_) close_listener_();
}

}  // namespace emulator
