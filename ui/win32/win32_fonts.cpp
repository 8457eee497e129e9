#include "ui/win32/win32_fonts.h"

#include <cmath>

namespace ui::win32 {

int FontHeightForPoints(double points) {
  // MulDiv(points, 96, 72) for the half-point sizes too: 13.5 pt is 18 pixels.
  return -static_cast<int>(std::lround(points * 96.0 / 72.0));
}

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::get(const Font& font) {
  const int height = FontHeightForPoints(font.points);
  const auto key = std::make_tuple(height, font.weight, font.underline);
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return it->second;
  HFONT created = CreateFontA(height, 0, 0, 0, font.weight, FALSE, font.underline ? TRUE : FALSE,
                              FALSE, OEM_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Terminal");
  fonts_.emplace(key, created);
  return created;
}

}  // namespace ui::win32
