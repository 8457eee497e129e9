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

struct InstalledFaces {
  bool terminus = false;     // the bitmap family "Terminus"
  bool terminusTtf = false;  // "Terminus (TTF)"
};

// The face for font at dpi dots per inch. Terminus has bitmaps of 12, 14, 16 ... 32 pixels; a
// size between them or beyond (27 pixels for 13.5 point at 144 dpi) takes the outline face at
// the exact size, or the nearest bitmap when only the bitmaps are installed (6 point at 96 dpi,
// 8 pixels, then becomes 12 pixels). The fallback face scales and keeps the exact size.
Face ChooseFace(const Font& font, const InstalledFaces& installed, int dpi = kBaseDpi);

// What fontconfig knows of. Asked once per process.
const InstalledFaces& Installed();

// ChooseFace for this machine; registers the Terminus faces with FLTK on first use.
Face FaceFor(const Font& font, int dpi);

// The display's resolution as desktops publish it: Xft.dpi in the X resources, rounded; 96
// when it is not set, is no number, or is out of all reason. Asked once per process.
int DisplayDpi();
// The Xft.dpi value as read from the resources (null: not set).
int DpiFromResource(const char* value);

}  // namespace ui::fltk
