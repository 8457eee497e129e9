#include "ui/fltk/fltk_fonts.h"

#include <fontconfig/fontconfig.h>

#include <FL/Fl.H>
#include <FL/x.H>
#include <X11/Xresource.h>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace ui::fltk {

namespace {

constexpr Fl_Font kTerminus = FL_FREE_FONT;
constexpr Fl_Font kTerminusBold = FL_FREE_FONT + 1;
constexpr Fl_Font kTerminusTtf = FL_FREE_FONT + 2;
constexpr Fl_Font kTerminusTtfBold = FL_FREE_FONT + 3;
constexpr int kTtfSize = 12;  // the outline face's smallest built-in bitmaps
constexpr std::array kTerminusSizes = {12, 14, 16, 18, 20, 22, 24, 28, 32};

int NearestTerminusSize(int pixels) {
  int best = kTerminusSizes.front();
  for (int size : kTerminusSizes)
    if (std::abs(size - pixels) < std::abs(best - pixels)) best = size;
  return best;
}

bool HasFamily(const char* family) {
  if (!FcInit()) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  bool found = fonts && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

}  // namespace

Face ChooseFace(const Font& font, const InstalledFaces& installed, int dpi) {
  bool bold = font.weight >= 600;
  int pixels = PointsToPixels(font.points, dpi);
  // Terminus has no bitmap below 12 pixels, none above 32 and none of odd sizes. Such text
  // (6 point at 96 dpi is 8 pixels) takes the outline face at its true size, so the long
  // captions wrap within their labels as they were laid out.
  const bool bitmapSize =
      std::find(kTerminusSizes.begin(), kTerminusSizes.end(), pixels) != kTerminusSizes.end();
  if (!bitmapSize && installed.terminusTtf)
    return {bold ? kTerminusTtfBold : kTerminusTtf, pixels};
  int size = NearestTerminusSize(pixels);
  // The bitmap faces advance more than half their size (11 pixels at 18, 8 at 16), the outline
  // face exactly half, as "Terminal" does; so text in the bitmap faces would outgrow its
  // controls ("Please select a file to read from/save to.", "Remove Item" at 144 dpi) and long
  // captions would wrap elsewhere. Only the bold headings (13.5 point), which have room, keep
  // the bitmap face, whose bold is real.
  const bool heading = bold && font.points >= 13.5;
  if ((size == kTtfSize || !heading) && installed.terminusTtf)
    return {bold ? kTerminusTtfBold : kTerminusTtf, size};
  if (installed.terminus) return {bold ? kTerminusBold : kTerminus, size};
  if (installed.terminusTtf) return {bold ? kTerminusTtfBold : kTerminusTtf, size};
  return {bold ? FL_SCREEN_BOLD : FL_SCREEN, pixels};
}

const InstalledFaces& Installed() {
  static const InstalledFaces installed{HasFamily("Terminus"), HasFamily("Terminus (TTF)")};
  return installed;
}

Face FaceFor(const Font& font, int dpi) {
  static const bool registered = [] {
    // FLTK's Xft names: a leading blank for the regular face, 'B' for bold.
    Fl::set_font(kTerminus, " Terminus");
    Fl::set_font(kTerminusBold, "BTerminus");
    Fl::set_font(kTerminusTtf, " Terminus (TTF)");
    Fl::set_font(kTerminusTtfBold, "BTerminus (TTF)");
    return true;
  }();
  (void)registered;
  return ChooseFace(font, Installed(), dpi);
}

int DpiFromResource(const char* value) {
  if (!value) return kBaseDpi;
  char* end = nullptr;
  const double dpi = std::strtod(value, &end);
  // Resolutions outside this range are typing errors; the window would not fit or not be read.
  if (end == value || !(dpi >= 48 && dpi <= 480)) return kBaseDpi;
  return static_cast<int>(std::lround(dpi));
}

int DisplayDpi() {
  static const int dpi = [] {
    // Asked first on a connection of its own: FLTK's would end the program when there is no
    // display. When there is one, FLTK's connection is opened before this one closes. An X
    // server with no other client resets when its last connection closes, and drops the
    // connections still being opened; a gap between the two would at times drop FLTK's, and
    // the program would end at start with "Can't open display".
    Display* probe = fl_display ? nullptr : XOpenDisplay(nullptr);
    if (!fl_display && !probe) return kBaseDpi;
    fl_open_display();
    if (probe) XCloseDisplay(probe);
    int found = kBaseDpi;
    if (const char* resources = XResourceManagerString(fl_display)) {
      XrmInitialize();
      if (XrmDatabase db = XrmGetStringDatabase(resources)) {
        char* type = nullptr;
        XrmValue value{};
        if (XrmGetResource(db, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
          found = DpiFromResource(value.addr);
        XrmDestroyDatabase(db);
      }
    }
    return found;
  }();
  return dpi;
}

}  // namespace ui::fltk
