// The program's own pictures: sizes, and the stretch that fits the logo into its control.
#include <gtest/gtest.h>

#include "ui/logo.h"

namespace {

ui::RgbImage Filled(int w, int h, std::uint32_t rgb) {
  ui::RgbImage img(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.set(x, y, rgb);
  return img;
}

TEST(Logo, PicturesHaveTheirSizesAndContent) {
  const ui::RgbImage logo = ui::MakeLogo();
  const ui::RgbImage icon = ui::MakeIcon();
  EXPECT_EQ(logo.width, ui::kLogoWidth);
  EXPECT_EQ(logo.height, ui::kLogoHeight);
  EXPECT_EQ(logo.pixels.size(), std::size_t{ui::kLogoWidth} * ui::kLogoHeight * 3);
  EXPECT_EQ(icon.width, ui::kIconSize);
  EXPECT_EQ(icon.height, ui::kIconSize);
  // Something is drawn: the corner (background) differs from the middle of the cartridge.
  EXPECT_NE(logo.at(0, 0), logo.at(50, 55));
  EXPECT_NE(icon.at(0, 0), icon.at(16, 16));
}

TEST(Logo, StretchAveragesShrinksAndRepeatsWhenEnlarging) {
  ui::RgbImage checker(2, 2);
  checker.set(0, 0, 0x000000);
  checker.set(1, 0, 0xFFFFFF);
  checker.set(0, 1, 0xFFFFFF);
  checker.set(1, 1, 0x000000);
  struct Row {
    const char* what;
    ui::RgbImage source;
    int w, h;
    int x, y;
    std::uint32_t expected;
  };
  const Row rows[] = {
      {"2x2 to 1x1 averages", checker, 1, 1, 0, 0, 0x808080},
      {"2x2 to 4x4 repeats", checker, 4, 4, 3, 0, 0xFFFFFF},
      {"2x2 to 4x4 repeats", checker, 4, 4, 1, 1, 0x000000},
      {"uniform stays uniform", Filled(249, 110, 0x123456), 193, 102, 192, 101, 0x123456},
      {"same size is a copy", checker, 2, 2, 1, 0, 0xFFFFFF},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    ui::RgbImage out = ui::Stretch(r.source, r.w, r.h);
    ASSERT_EQ(out.width, r.w);
    ASSERT_EQ(out.height, r.h);
    EXPECT_EQ(out.at(r.x, r.y), r.expected);
  }
  EXPECT_TRUE(ui::Stretch(checker, 0, 5).pixels.empty());
  EXPECT_TRUE(ui::Stretch(ui::RgbImage(), 5, 5).pixels.empty());
}

}  // namespace
