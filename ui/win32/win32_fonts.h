// The raster font "Terminal" with the OEM character set, one GDI font per size, weight and
// underline, shared by the controls of one window and deleted with it.
#pragma once

#include <windows.h>

#include <map>
#include <tuple>

#include "ui/layout.h"

namespace ui::win32 {

// Character height in pixels for a point size at 96 dots per inch, negative as CreateFont
// wants it for a character (not cell) height: 9 pt -> -12, 6 pt -> -8, 13.5 pt -> -18.
int FontHeightForPoints(double points);

class FontCache {
 public:
  FontCache() = default;
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  ~FontCache();

  HFONT get(const Font& font);

 private:
  std::map<std::tuple<int, int, bool>, HFONT> fonts_;
};

}  // namespace ui::win32
