// Writes the program file's icon (.ico, one 32x32 24-bit image) from the same pixels as the
// window icon (ui/logo.cpp), so the two can never differ. Built and run on the build machine
// while the Windows program is built: make-icon OUTPUT.ico
#include <cstdint>
#include <cstdio>
#include <string>

#include "ui/logo.h"

namespace {

void Put16(std::string& out, unsigned value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// ICONDIR, one ICONDIRENTRY, then the image as a DIB: header (height counts the colour rows
// and the mask rows), BGR rows bottom-up, and a 1-bit AND mask of zeros (every pixel opaque).
std::string IcoBytes(const ui::RgbImage& icon) {
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(icon.width) * 3 + 3) & ~3u;
  const std::uint32_t maskRowBytes = ((static_cast<std::uint32_t>(icon.width) + 31) / 32) * 4;
  const std::uint32_t imageBytes =
      40 + (rowBytes + maskRowBytes) * static_cast<std::uint32_t>(icon.height);
  std::string out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, 1);  // one image
  out += static_cast<char>(icon.width);
  out += static_cast<char>(icon.height);
  out += '\0';  // no palette
  out += '\0';
  Put16(out, 1);   // planes
  Put16(out, 24);  // bits per pixel
  Put32(out, imageBytes);
  Put32(out, 6 + 16);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(icon.width));
  Put32(out, static_cast<std::uint32_t>(icon.height) * 2);
  Put16(out, 1);
  Put16(out, 24);
  for (int i = 0; i < 6; ++i) Put32(out, 0);  // BI_RGB, sizes, resolution, colours
  for (int y = icon.height - 1; y >= 0; --y) {
    std::string row;
    for (int x = 0; x < icon.width; ++x) {
      const std::uint32_t rgb = icon.at(x, y);
      row += static_cast<char>(rgb & 0xFF);
      row += static_cast<char>((rgb >> 8) & 0xFF);
      row += static_cast<char>((rgb >> 16) & 0xFF);
    }
    row.resize(rowBytes, '\0');
    out += row;
  }
  out.append(static_cast<size_t>(maskRowBytes) * static_cast<size_t>(icon.height), '\0');
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make-icon OUTPUT.ico\n");
    return 2;
  }
  const std::string bytes = IcoBytes(ui::MakeIcon());
  std::FILE* file = std::fopen(argv[1], "wb");
  if (!file) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
