// The raster font "Terminal" with the OEM character set, one GDI font per size, weight and
// underline, shared by the controls of one window and deleted with it.
#pragma once

#include <windows.h>

#include <map>
#include <tuple>

#include "ui/layout.h"

namespace ui::win32 {

// Character height in pixels for a point size at dpi dots per inch, negative as CreateFont
// wants it for a character (not cell) height: at 96, 9 pt -> -12, 6 pt -> -8, 13.5 pt -> -18.
int FontHeightForPoints(double points, int dpi = kBaseDpi);

class FontCache {
 public:
  // Fonts for a window laid out at dpi dots per inch.
  explicit FontCache(int dpi) : dpi_(dpi) {}
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();

  HFONT get(const Font& font);

 private:
  int dpi_;
  std::map<std::tuple<int, int, bool>, HFONT> fonts_;
};

}  // namespace ui::win32
