#include "ui/logo.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace ui {

std::uint32_t RgbImage::at(int x, int y) const {
  const std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
  return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
}

void RgbImage::set(int x, int y, std::uint32_t rgb) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
  p[0] = static_cast<std::uint8_t>(rgb >> 16);
  p[1] = static_cast<std::uint8_t>(rgb >> 8);
  p[2] = static_cast<std::uint8_t>(rgb);
}

namespace {

constexpr std::uint32_t kNavyTop = 0x101848;
constexpr std::uint32_t kNavyBottom = 0x3050A0;
constexpr std::uint32_t kShell = 0x9AA0A8;
constexpr std::uint32_t kShellDark = 0x5A6068;
constexpr std::uint32_t kShellLight = 0xC8CDD4;
constexpr std::uint32_t kSticker = 0xF0A020;
constexpr std::uint32_t kStickerText = 0x202040;
constexpr std::uint32_t kGold = 0xD8B040;
constexpr std::uint32_t kLettering = 0xFFE860;
constexpr std::uint32_t kShadow = 0x080C20;
constexpr std::uint32_t kWhite = 0xF0F4FF;

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, int num, int den) {
  auto channel = [&](int shift) {
    int ca = static_cast<int>((a >> shift) & 0xFF);
    int cb = static_cast<int>((b >> shift) & 0xFF);
    return static_cast<std::uint32_t>(ca + (cb - ca) * num / den) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

void FillRect(RgbImage& img, int x, int y, int w, int h, std::uint32_t rgb) {
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i) img.set(i, j, rgb);
}

// A rectangle with its corners cut off by radius pixels.
void FillRounded(RgbImage& img, int x, int y, int w, int h, int radius, std::uint32_t rgb) {
  for (int j = 0; j < h; ++j) {
    int dy = std::max(radius - j, j - (h - 1 - radius));
    int inset = 0;
    if (dy > 0) {
      while (inset < radius && (radius - inset) * (radius - inset) + dy * dy > radius * radius)
        ++inset;
    }
    for (int i = x + inset; i < x + w - inset; ++i) img.set(i, y + j, rgb);
  }
}

void VerticalGradient(RgbImage& img, std::uint32_t top, std::uint32_t bottom) {
  for (int y = 0; y < img.height; ++y)
    FillRect(img, 0, y, img.width, 1, Mix(top, bottom, y, std::max(1, img.height - 1)));
}

// 5 x 7 letters, enough for the lettering on the pictures.
struct Glyph {
  char letter;
  std::array<std::string_view, 7> rows;
};

constexpr std::array kGlyphs = {
    Glyph{'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    Glyph{'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    Glyph{'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    Glyph{'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    Glyph{'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    Glyph{'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    Glyph{'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    Glyph{'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    Glyph{'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
};

constexpr int kGlyphWidth = 5;
constexpr int kGlyphHeight = 7;

void DrawLetter(RgbImage& img, char letter, int x, int y, int scale, std::uint32_t rgb) {
  for (const Glyph& g : kGlyphs) {
    if (g.letter != letter) continue;
    for (int row = 0; row < kGlyphHeight; ++row)
      for (int col = 0; col < kGlyphWidth; ++col)
        if (g.rows[row][col] == '#') FillRect(img, x + col * scale, y + row * scale, scale, scale, rgb);
    return;
  }
}

int TextWidth(std::string_view text, int scale, int gap) {
  if (text.empty()) return 0;
  return static_cast<int>(text.size()) * (kGlyphWidth * scale + gap) - gap;
}

void DrawText(RgbImage& img, std::string_view text, int x, int y, int scale, int gap,
              std::uint32_t rgb) {
  for (char c : text) {
    DrawLetter(img, c, x, y, scale, rgb);
    x += kGlyphWidth * scale + gap;
  }
}

// The cartridge: a grey shell with a grip at the top, a sticker bearing a "T", and gold contacts
// along the bottom edge. Proportions follow the given box so the logo and the icon share it.
void DrawCartridge(RgbImage& img, int x, int y, int w, int h) {
  int radius = std::max(1, w / 10);
  FillRounded(img, x, y, w, h, radius, kShellDark);
  FillRounded(img, x + 1, y + 1, w - 2, h - 2, radius, kShell);
  FillRect(img, x + 2, y + 2, w - 4, std::max(1, h / 40), kShellLight);

  // Grip ridges across the top.
  int ridgeTop = y + h / 12;
  for (int i = 0; i < 3; ++i)
    FillRect(img, x + w / 6, ridgeTop + i * std::max(2, h / 24), w - w / 3, std::max(1, h / 60),
             kShellDark);

  // The sticker with the letter.
  int sx = x + w / 8;
  int sy = y + h / 4;
  int sw = w - w / 4;
  int sh = h / 2 - h / 16;
  FillRect(img, sx, sy, sw, sh, kSticker);
  int scale = std::max(1, std::min(sw / (kGlyphWidth + 2), sh / (kGlyphHeight + 2)));
  DrawLetter(img, 'T', sx + (sw - kGlyphWidth * scale) / 2, sy + (sh - kGlyphHeight * scale) / 2,
             scale, kStickerText);

  // The edge connector.
  int cy = y + h - h / 7;
  int ch = h / 7 - 1;
  FillRect(img, x + w / 10, cy, w - w / 5, ch, kShellDark);
  int pitch = std::max(2, w / 14);
  for (int cx = x + w / 10 + 1; cx + pitch / 2 <= x + w - w / 10; cx += pitch)
    FillRect(img, cx, cy + 1, std::max(1, pitch / 2), std::max(1, ch - 1), kGold);
}

}  // namespace

RgbImage MakeLogo() {
  RgbImage img(kLogoWidth, kLogoHeight);
  VerticalGradient(img, kNavyTop, kNavyBottom);
  // A thin frame inside the edge.
  FillRect(img, 3, 3, kLogoWidth - 6, 1, kNavyBottom);
  FillRect(img, 3, kLogoHeight - 4, kLogoWidth - 6, 1, kNavyTop);

  DrawCartridge(img, 10, 10, 80, 90);

  constexpr std::string_view kName = "TELVO";
  constexpr int kNameScale = 5;
  constexpr int kNameGap = 4;
  int nameX = 100 + (kLogoWidth - 100 - TextWidth(kName, kNameScale, kNameGap)) / 2;
  DrawText(img, kName, nameX + 2, 20 + 2, kNameScale, kNameGap, kShadow);
  DrawText(img, kName, nameX, 20, kNameScale, kNameGap, kLettering);

  constexpr std::string_view kWord = "FLASH";
  constexpr int kWordScale = 3;
  constexpr int kWordGap = 3;
  int wordX = 100 + (kLogoWidth - 100 - TextWidth(kWord, kWordScale, kWordGap)) / 2;
  FillRect(img, nameX, 63, TextWidth(kName, kNameScale, kNameGap), 2, kLettering);
  DrawText(img, kWord, wordX, 72, kWordScale, kWordGap, kWhite);
  return img;
}

RgbImage MakeIcon() {
  RgbImage img(kIconSize, kIconSize);
  VerticalGradient(img, kNavyTop, kNavyBottom);
  DrawCartridge(img, 3, 1, 26, 30);
  return img;
}

RgbImage Stretch(const RgbImage& source, int width, int height) {
  if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0) return {};
  RgbImage out(width, height);
  for (int y = 0; y < height; ++y) {
    // Source rows [y0, y1) cover this target row; at least one when enlarging.
    int y0 = y * source.height / height;
    int y1 = std::max(y0 + 1, (y + 1) * source.height / height);
    for (int x = 0; x < width; ++x) {
      int x0 = x * source.width / width;
      int x1 = std::max(x0 + 1, (x + 1) * source.width / width);
      unsigned sum[3] = {0, 0, 0};
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx) {
          const std::uint8_t* p =
              &source.pixels[(static_cast<std::size_t>(sy) * source.width + sx) * 3];
          sum[0] += p[0];
          sum[1] += p[1];
          sum[2] += p[2];
        }
      unsigned n = static_cast<unsigned>((y1 - y0) * (x1 - x0));
      std::uint8_t* q = &out.pixels[(static_cast<std::size_t>(y) * width + x) * 3];
      for (int c = 0; c < 3; ++c) q[c] = static_cast<std::uint8_t>((sum[c] + n / 2) / n);
    }
  }
  return out;
}

}  // namespace ui
