// Which FLTK face and pixel size stands in for each of the window layer's fonts. The tables
// ask for the raster font "Terminal"; Linux has none, so Terminus (Debian's fonts-terminus
// packages) takes its place where installed, and FLTK's monospace face otherwise.
// At 12 pixels the "Terminus (TTF)" family is used: its built-in 6 x 12 bitmaps are as wide
// as Terminal's small sizes, so captions wrap where they do on Windows, and Xft emboldens
// them crisply. Larger sizes use the bitmap family "Terminus", which has real bold faces.
#pragma once

#include <FL/Enumerations.H>

#include "ui/layout.h"

namespace ui::fltk {

struct Face {
  Fl_Font font = FL_SCREEN;
  int size = 12;  // pixels
};

// Points at 96 dots per inch: 9 -> 12, 6 -> 8, 13.5 -> 18.
int PointsToPixels(double points);

struct InstalledFaces {
  bool terminus = false;     // the bitmap family "Terminus"
  bool terminusTtf = false;  // "Terminus (TTF)"
};

// The face for font. Terminus comes in 12, 14, 16 ... pixels only, so a size it lacks is set
// in the nearest one it has (6 point, 8 pixels, becomes 12 pixels); the fallback face scales
// and keeps the exact size.
Face ChooseFace(const Font& font, const InstalledFaces& installed);

// What fontconfig knows of. Asked once per process.
const InstalledFaces& Installed();

// ChooseFace for this machine; registers the Terminus faces with FLTK on first use.
Face FaceFor(const Font& font);

}  // namespace ui::fltk
