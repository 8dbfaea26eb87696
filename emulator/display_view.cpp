// SPDX-License-Identifier: GPL-2.0-or-later
#include "emulator/display_view.h"

#include <algorithm>
#include <cstdio>

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
constexpr int kStatusTop = kMargin + kModuleHeight + 4;
constexpr platform::Color kBackground{0x2B, 0x2D, 0x30};
constexpr platform::Color kStatusText{0xB0, 0xB0, 0xB0};

// A module is a picture a little larger than its box, which its outline's
// antialiased edge reaches beyond (two pixels, so that the picture stays on
// whole device pixels at 150 %).
constexpr int kModuleBleed = 2;
constexpr std::uint64_t kModuleKey = std::uint64_t{'M'} << 56U;

// The top left dot of the character at `position`.
int CharacterLeft(std::size_t position) {
  const int module = static_cast<int>(position / 4);
  const int digit = static_cast<int>(position % 4);
  return kMargin + module * (kModuleWidth + kModuleGap) + kModulePad +
         digit * (kCharWidth + kCharGap);
}
constexpr int kCharacterTop = kMargin + kModulePad;
// A character is a picture of its dots on the module's colour, one for each
// glyph, from the top left corner of its top left dot; with a pixel more to
// the right and below, which a dot's edge reaches on GDI.
constexpr int kCharacterWidth = 4 * kPitch + kDot + 1;
constexpr int kCharacterHeight = 6 * kPitch + kDot + 1;

void DrawCharacter(platform::Canvas& canvas, std::size_t position, const dot_matrix::Glyph& glyph) {
  // The picture's name: 'C' and the lit dots.
  std::uint64_t key = std::uint64_t{'C'} << 56U;
  int shift = 0;
  for (const std::uint8_t column : glyph) {
    key |= static_cast<std::uint64_t>(column) << shift;
    shift += 8;
  }
  canvas.Picture(key, CharacterLeft(position), kCharacterTop, kCharacterWidth, kCharacterHeight,
                 [&glyph](platform::Canvas& picture) {
                   picture.FillRect(0, 0, kCharacterWidth, kCharacterHeight, dot_matrix::kModule);
                   dot_matrix::DrawCharacter(picture, 0, 0, glyph, kPitch, kDot);
                 });
}

}  // namespace

int DisplayView::Width() { return 2 * kMargin + 2 * kModuleWidth + kModuleGap; }
int DisplayView::Height() { return 2 * kMargin + kModuleHeight + kStatusHeight; }

void DisplayView::Paint(platform::Canvas& canvas) const {
  canvas.FillRect(0, 0, Width(), Height(), kBackground);
  for (int module = 0; module < 2; ++module) {
    const int left = kMargin + module * (kModuleWidth + kModuleGap);
    canvas.Picture(kModuleKey, left - kModuleBleed, kMargin - kModuleBleed,
                   kModuleWidth + 2 * kModuleBleed, kModuleHeight + 2 * kModuleBleed,
                   [](platform::Canvas& picture) {
                     picture.FillRect(0, 0, kModuleWidth + 2 * kModuleBleed,
                                      kModuleHeight + 2 * kModuleBleed, kBackground);
                     picture.RoundedRect(kModuleBleed, kModuleBleed, kModuleWidth, kModuleHeight, 4,
                                         dot_matrix::kModule, dot_matrix::kOutline);
                   });
  }
  for (std::size_t position = 0; position < DisplayModel::kPositions; ++position) {
    DrawCharacter(canvas, position, GlyphAt(position));
  }
  const std::string status = StatusLine();
  status_width_ =
      canvas.Text(kMargin, kStatusTop, Width() - 2 * kMargin, kStatusHeight, status, kStatusText);
}

void DisplayView::RefreshChanged(platform::PaintedWindow& window) {
  for (std::size_t position = 0; position < DisplayModel::kPositions; ++position) {
    const dot_matrix::Glyph glyph = GlyphAt(position);
    if (glyph == refreshed_glyphs_[position]) continue;
    refreshed_glyphs_[position] = glyph;
    window.Refresh(CharacterLeft(position), kCharacterTop, kCharacterWidth, kCharacterHeight);
  }
  std::string status = StatusLine();
  if (status == refreshed_status_) return;
  // As far as the line last painted reached, and two of its characters
  // further, for a line that has grown (the count gains a digit); the whole
  // box before the first paint.
  const int full = Width() - 2 * kMargin;
  const int reach =
      status_width_ <= 0
          ? full
          : status_width_ + (2 * status_width_ / static_cast<int>(refreshed_status_.size()));
  refreshed_status_ = std::move(status);
  window.Refresh(kMargin, kStatusTop, std::min(full, reach), kStatusHeight);
}

dot_matrix::Glyph DisplayView::GlyphAt(std::size_t position) const {
  bool lit = false;
  const std::uint8_t code = model_.CodeAt(position, &lit);
  return lit ? Glyph(code) : dot_matrix::Glyph{};
}

std::string DisplayView::StatusLine() const {
  char line[80];
  std::snprintf(line, sizeof line, "port 0: %02X   port 1: %02X   reports: %zu", model_.Port0(),
                model_.Port1(), model_.ReportsSeen());
  return line;
}

}  // namespace emulator
