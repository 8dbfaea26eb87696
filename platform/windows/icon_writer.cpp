// SPDX-License-Identifier: GPL-2.0-or-later
// Writes the program's icon, as the programs paint it at run time, to an .ico
// file for the Windows resources (Explorer and the taskbar show it before the
// program runs). Usage: statusanzeige-icon-writer FILE.ico
#include <cstdint>
#include <cstdio>
#include <vector>

#include "app/dot_matrix.h"
#include "platform/windows/program_icon.h"

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// One icon image as .ico stores it: a BITMAPINFOHEADER of twice the height,
// the BGRA rows bottom up, then the AND mask (all opaque; alpha decides).
std::vector<std::uint8_t> IconImage(const platform::IconPixels& icon) {
  std::vector<std::uint8_t> out;
  const auto size = static_cast<std::size_t>(icon.size);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(size));
  Put32(out, static_cast<std::uint32_t>(size * 2));
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = icon.size - 1; y >= 0; --y) {
    const auto* row = &icon.bgra[static_cast<std::size_t>(y) * size * 4];
    out.insert(out.end(), row, row + size * 4);
  }
  const std::size_t mask_row = (size + 31) / 32 * 4;
  out.insert(out.end(), mask_row * size, 0);
  return out;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FILE.ico\n", argv[0]);
    return 2;
  }
  const int sizes[] = {16, 20, 24, 32, 40, 48, 64};
  std::vector<std::vector<std::uint8_t>> images;
  for (const int size : sizes) {
    const platform::IconPixels icon = platform::RenderIcon(dot_matrix::PaintProgramIcon, size);
    if (icon.size != size) {
      std::fprintf(stderr, "%s: cannot paint the icon at %d pixels\n", argv[0], size);
      return 1;
    }
    images.push_back(IconImage(icon));
  }
  std::vector<std::uint8_t> file;
  Put16(file, 0);  // reserved
  Put16(file, 1);  // icon
  Put16(file, static_cast<unsigned>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    file.push_back(static_cast<std::uint8_t>(sizes[i]));
    file.push_back(static_cast<std::uint8_t>(sizes[i]));
    file.push_back(0);  // no palette
    file.push_back(0);
    Put16(file, 1);   // planes
    Put16(file, 32);  // bits per pixel
    Put32(file, static_cast<std::uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr || std::fwrite(file.data(), 1, file.size(), out) != file.size()) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
    if (out != nullptr) std::fclose(out);
    return 1;
  }
  return std::fclose(out) == 0 ? 0 : 1;
}
