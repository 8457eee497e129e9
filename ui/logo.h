// The program's own pictures, drawn in code so every backend shows the same ones and no
// picture file has to travel with the program: the logo in the main window and the window
// icon. Pixels are plain RGB, so FLTK takes them as they are and Win32 turns them into a DIB.
#pragma once

#include <cstdint>
#include <vector>

namespace ui {

// Rows from top to bottom, three bytes (red, green, blue) per pixel, no padding.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 3) {}
  std::uint32_t at(int x, int y) const;  // 0x00RRGGBB
  void set(int x, int y, std::uint32_t rgb);
};

inline constexpr int kLogoWidth = 249;
inline constexpr int kLogoHeight = 110;
inline constexpr int kIconSize = 32;

// A stylised cartridge beside "TELVO FLASH" lettering, kLogoWidth x kLogoHeight.
RgbImage MakeLogo();
// The cartridge alone, kIconSize x kIconSize.
RgbImage MakeIcon();

// The picture resized to width x height, each target pixel the average of the source area it
// covers, so shrinking keeps the lettering readable. Empty when a size is not positive.
RgbImage Stretch(const RgbImage& source, int width, int height);

}  // namespace ui
