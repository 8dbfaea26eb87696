// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/gdi_canvas.h"

#include "platform/windows/text.h"
#include "platform/windows/win_window.h"

namespace platform {
namespace {

COLORREF ToColorRef(Color color) { return RGB(color.red, color.green, color.blue); }

// Selects a GDI object into a device context for one scope, then deletes it.
class Selected {
 public:
  Selected(HDC dc, HGDIOBJ object) : dc_(dc), object_(object), old_(SelectObject(dc, object)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

 private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ old_;
};

}  // namespace

GdiPictures::~GdiPictures() { Clear(); }

void GdiPictures::Clear() {
  for (const auto& [key, bitmap] : bitmaps_) DeleteObject(bitmap);
  bitmaps_.clear();
}

HBITMAP GdiPictures::Get(std::uint64_t key, HDC dc, unsigned dpi, HFONT font, int width, int height,
                         const std::function<void(Canvas&)>& paint) {
  if (dpi != dpi_) {
    Clear();
    dpi_ = dpi;
  }
  auto [it, made] = bitmaps_.try_emplace(key, nullptr);
  if (made) {
    it->second = CreateCompatibleBitmap(dc, ScaleToDpi(width, dpi), ScaleToDpi(height, dpi));
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, it->second);
    GdiCanvas canvas(memory, dpi, font);
    paint(canvas);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  return it->second;
}

GdiCanvas::GdiCanvas(HDC dc, unsigned dpi, HFONT font, GdiPictures* pictures)
    : dc_(dc), dpi_(dpi == 0 ? USER_DEFAULT_SCREEN_DPI : dpi), font_(font), pictures_(pictures) {}

int GdiCanvas::Scale(int pixels) const { return ScaleToDpi(pixels, dpi_); }

RECT GdiCanvas::Box(int x, int y, int width, int height) const {
  // Both edges scaled, so neighbouring boxes stay neighbours.
  x += origin_x_;
  y += origin_y_;
  return RECT{Scale(x), Scale(y), Scale(x + width), Scale(y + height)};
}

void GdiCanvas::FillRect(int x, int y, int width, int height, Color fill) {
  const RECT box = Box(x, y, width, height);
  HBRUSH brush = CreateSolidBrush(ToColorRef(fill));
  ::FillRect(dc_, &box, brush);
  DeleteObject(brush);
}

void GdiCanvas::RoundedRect(int x, int y, int width, int height, int radius, Color fill,
                            Color outline) {
  const RECT box = Box(x, y, width, height);
  const Selected pen(dc_, CreatePen(PS_INSIDEFRAME, Scale(1), ToColorRef(outline)));
  const Selected brush(dc_, CreateSolidBrush(ToColorRef(fill)));
  const int diameter = Scale(2 * radius);
  ::RoundRect(dc_, box.left, box.top, box.right, box.bottom, diameter, diameter);
}

void GdiCanvas::Ellipse(int x, int y, int width, int height, Color fill) {
  const RECT box = Box(x, y, width, height);
  const Selected pen(dc_, CreatePen(PS_NULL, 0, 0));
  const Selected brush(dc_, CreateSolidBrush(ToColorRef(fill)));
  // With no pen GDI leaves out the right and bottom edge; one more pixel.
  ::Ellipse(dc_, box.left, box.top, box.right + 1, box.bottom + 1);
}

int GdiCanvas::Text(int x, int y, int width, int height, const std::string& text, Color color) {
  RECT box = Box(x, y, width, height);
  HGDIOBJ old_font = font_ != nullptr ? SelectObject(dc_, font_) : nullptr;
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, ToColorRef(color));
  const std::wstring wide = Widen(text);
  DrawTextW(dc_, wide.c_str(), static_cast<int>(wide.size()), &box,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SIZE extent{};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &extent);
  if (old_font != nullptr) SelectObject(dc_, old_font);
  // Back to pixels at 96 DPI, rounded up.
  return MulDiv(static_cast<int>(extent.cx), USER_DEFAULT_SCREEN_DPI, static_cast<int>(dpi_)) + 1;
}

void GdiCanvas::Picture(std::uint64_t key, int x, int y, int width, int height,
                        const std::function<void(Canvas&)>& paint) {
  if (pictures_ == nullptr) {
    origin_x_ += x;
    origin_y_ += y;
    paint(*this);
    origin_x_ -= x;
    origin_y_ -= y;
    return;
  }
  HBITMAP bitmap = pictures_->Get(key, dc_, dpi_, font_, width, height, paint);
  const RECT box = Box(x, y, width, height);
  HDC source = CreateCompatibleDC(dc_);
  HGDIOBJ old = SelectObject(source, bitmap);
  BitBlt(dc_, box.left, box.top, Scale(width), Scale(height), source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace platform
