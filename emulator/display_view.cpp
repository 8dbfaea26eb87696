// SPDX-License-Identifier: GPL-2.0-or-later
#include "emulator/display_view.h"

#include <cstdio>

#include "app/dot_matrix.h"
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
constexpr platform::Color kBackground{0x2B, 0x2D, 0x30};
constexpr platform::Color kStatusText{0xB0, 0xB0, 0xB0};

}  // namespace

int DisplayView::Width() { return 2 * kMargin + 2 * kModuleWidth + kModuleGap; }
int DisplayView::Height() { return 2 * kMargin + kModuleHeight + kStatusHeight; }

void DisplayView::Paint(platform::Canvas& canvas) const {
  canvas.FillRect(0, 0, Width(), Height(), kBackground);
  for (int module = 0; module < 2; ++module) {
    const int left = kMargin + module * (kModuleWidth + kModuleGap);
    canvas.RoundedRect(left, kMargin, kModuleWidth, kModuleHeight, 4, dot_matrix::kModule,
                       dot_matrix::kOutline);
    for (int digit = 0; digit < 4; ++digit) {
      const std::size_t position = (module * 4U) + static_cast<unsigned>(digit);
      bool lit = false;
      const std::uint8_t code = model_.CodeAt(position, &lit);
      dot_matrix::DrawCharacter(canvas, left + kModulePad + digit * (kCharWidth + kCharGap),
                                kMargin + kModulePad, lit ? Glyph(code) : dot_matrix::Glyph{},
                                kPitch, kDot);
    }
  }
  canvas.Text(kMargin, kMargin + kModuleHeight + 4, Width() - 2 * kMargin, kStatusHeight,
              StatusLine(), kStatusText);
}

std::string DisplayView::StatusLine() const {
  char line[80];
  std::snprintf(line, sizeof line, "port 0: %02X   port 1: %02X   reports: %zu", model_.Port0(),
                model_.Port1(), model_.ReportsSeen());
  return line;
}

}  // namespace emulator
