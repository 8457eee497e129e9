#include "ui/win32/win32_fonts.h"

#include <cmath>

namespace ui::win32 {

int FontHeightForPoints(double points, int dpi) {
  // MulDiv(points, dpi, 72) for the half-point sizes too: 13.5 pt is 18 pixels at 96 dpi.
  return -PointsToPixels(points, dpi);
}

FontCache::~FontCache() {
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

HFONT FontCache::get(const Font& font) {
  // "Terminal" is a raster font: Windows takes its nearest size, or the substitute it maps
  // the name to, for the scaled height.
  const int height = FontHeightForPoints(font.points, dpi_);
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
