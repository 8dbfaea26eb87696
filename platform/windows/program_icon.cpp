// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/windows/program_icon.h"

#include <algorithm>

#include "platform/windows/gdi_canvas.h"

namespace platform {
namespace {

constexpr int kPaintedSize = 256;  // four times the canvas, then averaged down
constexpr int kCanvasSize = 64;

// A 32-bit top-down DIB section with a memory device context.
class Bitmap {
 public:
  explicit Bitmap(int size) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (bitmap_ != nullptr) old_ = SelectObject(dc_, bitmap_);
  }
  ~Bitmap() {
    if (bitmap_ != nullptr) {
      SelectObject(dc_, old_);
      DeleteObject(bitmap_);
    }
    DeleteDC(dc_);
  }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  [[nodiscard]] bool Valid() const { return bitmap_ != nullptr && bits_ != nullptr; }
  [[nodiscard]] HDC Dc() const { return dc_; }
  [[nodiscard]] const std::uint8_t* Bits() const { return static_cast<std::uint8_t*>(bits_); }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
};

bool PaintOn(const std::function<void(Canvas&)>& paint, Bitmap& bitmap, COLORREF background) {
  if (!bitmap.Valid()) return false;
  const RECT all{0, 0, kPaintedSize, kPaintedSize};
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(bitmap.Dc(), &all, brush);
  DeleteObject(brush);
  GdiCanvas canvas(bitmap.Dc(), USER_DEFAULT_SCREEN_DPI * kPaintedSize / kCanvasSize, nullptr);
  paint(canvas);
  GdiFlush();
  return true;
}

}  // namespace

IconPixels RenderIcon(const std::function<void(Canvas&)>& paint, int size) {
  IconPixels icon;
  if (size <= 0 || !paint) return icon;
  Bitmap on_black(kPaintedSize);
  Bitmap on_white(kPaintedSize);
  if (!PaintOn(paint, on_black, RGB(0, 0, 0)) || !PaintOn(paint, on_white, RGB(255, 255, 255))) {
    return icon;
  }
  icon.size = size;
  icon.bgra.assign(static_cast<std::size_t>(size) * size * 4, 0);
  const std::uint8_t* black = on_black.Bits();
  const std::uint8_t* white = on_white.Bits();
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // Average the painted pixels this one covers, weighted by coverage:
      // alpha from how far black and white differ, colour premultiplied.
      const int x0 = x * kPaintedSize / size;
      const int x1 = std::max(x0 + 1, (x + 1) * kPaintedSize / size);
      const int y0 = y * kPaintedSize / size;
      const int y1 = std::max(y0 + 1, (y + 1) * kPaintedSize / size);
      long sum[3] = {0, 0, 0};
      long alpha_sum = 0;
      for (int sy = y0; sy < y1; ++sy) {
        for (int sx = x0; sx < x1; ++sx) {
          const std::size_t at = (static_cast<std::size_t>(sy) * kPaintedSize + sx) * 4;
          const int alpha = 255 - (white[at + 1] - black[at + 1]);
          alpha_sum += std::clamp(alpha, 0, 255);
          for (int c = 0; c < 3; ++c) sum[c] += black[at + c];
        }
      }
      const long count = static_cast<long>(x1 - x0) * (y1 - y0);
      const long alpha = alpha_sum / count;
      std::uint8_t* out = &icon.bgra[(static_cast<std::size_t>(y) * size + x) * 4];
      for (int c = 0; c < 3; ++c) {
        out[c] = alpha == 0
                     ? 0
                     : static_cast<std::uint8_t>(std::min(255L, sum[c] / count * 255 / alpha));
      }
      out[3] = static_cast<std::uint8_t>(alpha);
    }
  }
  return icon;
}

HICON MakeIcon(const IconPixels& pixels) {
  if (pixels.size <= 0) return nullptr;
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof(header);
  header.bV5Width = pixels.size;
  header.bV5Height = -pixels.size;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                   &bits, nullptr, 0);
  ReleaseDC(nullptr, screen);
  if (color == nullptr || bits == nullptr) return nullptr;
  std::copy(pixels.bgra.begin(), pixels.bgra.end(), static_cast<std::uint8_t*>(bits));
  // The mask only counts where alpha is not understood; all opaque. Rows of
  // a monochrome bitmap are whole 16-bit words.
  const std::vector<std::uint8_t> mask_bits(
      static_cast<std::size_t>((pixels.size + 15) / 16 * 2) * pixels.size, 0);
  HBITMAP mask = CreateBitmap(pixels.size, pixels.size, 1, 1, mask_bits.data());
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = color;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(color);
  DeleteObject(mask);
  return icon;
}

}  // namespace platform
