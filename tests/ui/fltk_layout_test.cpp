// The FLTK backend's decisions that need no display: faces for the fonts, label texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "app/form1_layout.h"
#include "ui/fltk/fltk_fonts.h"
#include "ui/fltk/fltk_controls.h"

namespace {

using ui::fltk::ChooseFace;
using ui::fltk::InstalledFaces;

TEST(FltkFaces, SizesAndFallback) {
  const InstalledFaces both{true, true};
  const InstalledFaces bitmapOnly{true, false};
  const InstalledFaces none{};
  struct Row {
    ui::Font font;
    InstalledFaces installed;
    int size;
    bool fallback;  // FLTK's own monospace face
    bool bold;
  };
  const Row rows[] = {
      // No Terminus bitmap is smaller than 12 pixels: 6 point scales the outline face to 8,
      // so long captions wrap within their labels as they do in "Terminal".
      {ui::kFont6Bold, both, 8, false, true},
      {ui::kFont6Bold, bitmapOnly, 12, false, true},
      {ui::kDefaultFont, both, 12, false, false},
      {ui::kFont9Bold, bitmapOnly, 12, false, true},
      {ui::kFont135, both, 18, false, false},
      {ui::kFont135Bold, both, 18, false, true},
      // Without Terminus the monospace face scales to the exact size.
      {ui::kFont6Bold, none, 8, true, true},
      {ui::kDefaultFont, none, 12, true, false},
      {ui::kFont135Bold, none, 18, true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.font.points) + " pt, weight " + std::to_string(row.font.weight));
    ui::fltk::Face face = ChooseFace(row.font, row.installed);
    EXPECT_EQ(face.size, row.size);
    bool fallback = face.font == FL_SCREEN || face.font == FL_SCREEN_BOLD;
    EXPECT_EQ(fallback, row.fallback);
    if (row.fallback) {
      EXPECT_EQ(face.font == FL_SCREEN_BOLD, row.bold);
    }
  }
  // Regular and bold never share a face.
  EXPECT_NE(ChooseFace(ui::kFont135, both).font, ChooseFace(ui::kFont135Bold, both).font);
  EXPECT_NE(ChooseFace(ui::kDefaultFont, both).font, ChooseFace(ui::kFont9Bold, both).font);
}

// Fonts keep their size in points at the display's resolution: Terminus bitmaps where it has
// that size (12 to 32 pixels, even sizes but 26 and 30), the outline face in between and beyond.
TEST(FltkFaces, ScaledWithTheDisplay) {
  const InstalledFaces both{true, true};
  const InstalledFaces bitmapOnly{true, false};
  struct Row {
    ui::Font font;
    int dpi;
    InstalledFaces installed;
    int size;
    bool outline;  // the "Terminus (TTF)" face
  };
  const Row rows[] = {
      {ui::kFont6Bold, 144, both, 12, true},       // 12 pixels: the outline face's own bitmaps
      {ui::kDefaultFont, 144, both, 18, true},     // regular keeps Terminal's narrower advance
      {ui::kFont9Bold, 144, both, 18, true},       // "Remove Item" fits its button as at 96
      {ui::kFont135Bold, 96, both, 18, false},     // headings take the bitmap's real bold
      {ui::kFont135Bold, 144, both, 27, true},     // between the bitmaps
      {ui::kFont135Bold, 144, bitmapOnly, 28, false},
      {ui::kFont6Bold, 192, both, 16, true},       // captions wrap where they do at 96
      {ui::kFont9Bold, 192, both, 24, true},
      {ui::kFont9Bold, 192, bitmapOnly, 24, false},
      {ui::kFont135, 192, both, 36, true},         // beyond the largest bitmap
      {ui::kFont135Bold, 192, bitmapOnly, 32, false},
      {ui::kFont135Bold, 192, InstalledFaces{}, 36, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.font.points) + " pt at " + std::to_string(row.dpi));
    const ui::fltk::Face face = ChooseFace(row.font, row.installed, row.dpi);
    EXPECT_EQ(face.size, row.size);
    const bool outline = face.font == FL_FREE_FONT + 2 || face.font == FL_FREE_FONT + 3;
    EXPECT_EQ(outline, row.outline);
  }
}

TEST(FltkDisplay, ResolutionFromTheXResources) {
  struct Row {
    const char* value;
    int dpi;
  };
  const Row rows[] = {
      {nullptr, 96}, {"96", 96}, {"144", 144}, {"192", 192}, {"120.4", 120},
      {"", 96},      {"high", 96}, {"0", 96},   {"-144", 96}, {"100000", 96},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ui::fltk::DpiFromResource(row.value), row.dpi) << (row.value ? row.value : "unset");
}

TEST(FltkLabels, SpecialCharactersShowAsThemselves) {
  struct Row {
    std::string_view text;
    std::string label;
    std::string menu;
  };
  const Row rows[] = {
      {"plain", "plain", "plain"},
      {"@C1red", "@@C1red", "@@C1red"},
      {"user@host", "user@@host", "user@@host"},
      {"/media/a&b", "/media/a&b", "/media/a&&b"},
      {"", "", ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ui::fltk::LabelText(row.text), row.label) << row.text;
    EXPECT_EQ(ui::fltk::MenuText(row.text), row.menu) << row.text;
  }
}

TEST(GrowingBuffer, GapAndInsertStayWithinTheIntLimit) {
  using Buffer = ui::fltk::GrowingBuffer;
  constexpr int kMax = std::numeric_limits<int>::max();
  struct Row {
    int length;
    std::size_t adding;
    int preferred;
    std::size_t take;
    int gap;
  };
  const Row rows[] = {
      {0, 10, 4096, 10, 4096},                      // a new box keeps its first gap
      {1 << 20, 100, 4096, 100, 1 << 19},           // then half the text
      {1'500'000'000, 1000, 0, 1000, kMax - 1 - 1'500'001'000},  // where half would overflow
      {kMax - 101, 50, 1 << 30, 50, 50},            // only the room that is left
      {kMax - 101, 500, 0, 100, 0},                 // what does not fit is left out
      {kMax - 1, 5, 0, 0, 0},                       // full: nothing goes in
  };
  for (const Row& row : rows) {
    Buffer::Room room = Buffer::RoomFor(row.length, row.adding, row.preferred);
    EXPECT_EQ(room.take, row.take) << row.length;
    EXPECT_EQ(room.gap, row.gap) << row.length;
    EXPECT_LE(static_cast<long long>(row.length) + static_cast<long long>(room.take) + room.gap,
              kMax - 1LL);
  }
}

}  // namespace
