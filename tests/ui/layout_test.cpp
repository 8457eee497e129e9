// What the window layer decides from a table alone, for every backend: tab order, child order,
// reach, option groups and the pixel bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/form1_layout.h"
#include "sram/form2.h"
#include "ui/layout.h"

namespace {

using ui::ControlSpec;
using ui::Kind;

std::vector<std::string> Names(const std::vector<const ControlSpec*>& controls) {
  std::vector<std::string> names;
  for (const ControlSpec* c : controls) names.emplace_back(c->name);
  return names;
}

constexpr ControlSpec kSmall[] = {
    {"L", Kind::Label, "", "", {}},
    {"B", Kind::Button, "", "", {}, ui::kDefaultFont, 5},
    {"F", Kind::Frame, "", "", {1000, 2000, 100, 100}},
    {"T", Kind::TextBox, "", "F", {10, 20, 100, 100}, ui::kDefaultFont, 2},
    {"Off", Kind::TextBox, "", "", {0, 5000, 100, 100}, ui::kDefaultFont, 3},
    {"O1", Kind::OptionButton, "", "", {0, 0, 100, 100}, ui::kDefaultFont, 6},
    {"O2", Kind::OptionButton, "", "", {0, 0, 100, 100}, ui::kDefaultFont, 7},
    {"O3", Kind::OptionButton, "", "F", {0, 0, 100, 100}, ui::kDefaultFont, 8},
    {"Lt", Kind::Label, "", "", {}, ui::kDefaultFont, 9},
};
const ui::WindowSpec kSmallSpec{.name = "W", .caption = "W", .clientWidth = 3000,
                                .clientHeight = 3000, .controls = kSmall};

TEST(Layout, TabOrderFirstThenTheRestInTableOrder) {
  EXPECT_EQ(Names(ui::TabOrder(kSmallSpec)),
            (std::vector<std::string>{"T", "Off", "B", "O1", "O2", "O3", "Lt", "L", "F"}));
  // A frame's controls are placed from the frame's corner; frames in frames add up.
  const ui::Bounds inFrame = ui::WindowBounds(kSmallSpec, kSmall[3]);
  EXPECT_EQ(inFrame.left, 1010);
  EXPECT_EQ(inFrame.top, 2020);
}

TEST(Layout, ReachAndOptionGroups) {
  struct Row {
    const char* name;
    bool tabStop;
    std::vector<std::string> others;  // cleared when it is selected
  };
  const Row rows[] = {
      {"T", true, {}},
      {"Off", false, {}},  // below the client area: nobody sees it, so the keyboard skips it
      {"L", false, {}},
      {"Lt", false, {}},   // a label never takes the focus, whatever its tab index
      {"F", false, {}},
      {"O1", true, {"O2"}},
      {"O2", true, {"O1"}},
      {"O3", true, {}},    // alone in its frame
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ControlSpec& c = *kSmallSpec.find(row.name);
    EXPECT_EQ(ui::TakesTabStop(kSmallSpec, c), row.tabStop);
    EXPECT_EQ(Names(ui::OtherOptions(kSmallSpec, c)), row.others);
  }
  // In tab order the two window options are one group; the frame's option starts its own.
  const std::vector<const ControlSpec*> order = ui::TabOrder(kSmallSpec);
  std::vector<std::string> starts;
  const ControlSpec* previous = nullptr;
  for (const ControlSpec* c : order) {
    if (ui::StartsGroup(previous, *c)) starts.emplace_back(c->name);
    previous = c;
  }
  EXPECT_EQ(starts, (std::vector<std::string>{"T", "Off", "B", "O1", "O3", "Lt", "L", "F"}));
}

// FLTK moves the focus in child order, so flattening the children must give the tab order.
void Flatten(const ui::WindowSpec& spec, std::string_view container,
             std::vector<std::string>& focusable) {
  for (const ControlSpec* c : ui::ChildOrder(spec, container)) {
    if (c->kind == Kind::Frame) {
      Flatten(spec, c->name, focusable);
      continue;
    }
    if (c->tabIndex >= 0) focusable.emplace_back(c->name);
  }
}

// The program's frames hold controls of consecutive tab positions, as they must for this.
TEST(Layout, ChildOrderFollowsTabIndexThroughFrames) {
  for (const ui::WindowSpec* spec : {&app::Form1Spec(), &sram::Form2Spec()}) {
    SCOPED_TRACE(std::string(spec->name));
    std::vector<std::string> flattened;
    Flatten(*spec, "", flattened);
    std::vector<std::string> expected;
    for (const ControlSpec* c : ui::TabOrder(*spec))
      if (c->tabIndex >= 0) expected.emplace_back(c->name);
    EXPECT_EQ(flattened, expected);

    // Everything is created exactly once.
    std::size_t created = 0;
    std::vector<std::string_view> containers{""};
    for (const ControlSpec& c : spec->controls)
      if (c.kind == Kind::Frame) containers.push_back(c.name);
    for (std::string_view container : containers)
      created += ui::ChildOrder(*spec, container).size();
    EXPECT_EQ(created, spec->controls.size());
  }
}

// --- pixels at the display's resolution ---

TEST(Layout, EdgesRoundDownToAPixel) {
  struct Row {
    int twips, dpi, pixels;
  };
  const Row rows[] = {
      {0, 96, 0},       {2640, 96, 176},  {2630, 96, 175},  {14, 96, 0},   {15, 96, 1},
      {9135, 96, 609},  {9135, 144, 913}, {9975, 144, 997}, {9135, 192, 1218},
      {9975, 192, 1330}, {4120, 96, 274}, {-1, 96, -1},     {-15, 96, -1},
  };
  for (const Row& row : rows)
    EXPECT_EQ(ui::TwipsToPixels(row.twips, row.dpi), row.pixels) << row.twips << " at " << row.dpi;
}

// At 96 dots per inch the windows are exactly as they always were.
TEST(Layout, AtNinetySixDotsPerInchTheBoundsAreTheTwipsOverFifteen) {
  for (const ui::WindowSpec* spec : {&app::Form1Spec(), &sram::Form2Spec()}) {
    for (const ControlSpec& c : spec->controls) {
      SCOPED_TRACE(std::string(spec->name) + "." + std::string(c.name));
      const ui::Bounds b = ui::WindowBounds(*spec, c);
      const ui::PixelRect p = ui::PixelBounds(*spec, c, ui::kBaseDpi);
      EXPECT_EQ(p.x, b.left / 15);
      EXPECT_EQ(p.y, b.top / 15);
      EXPECT_EQ(p.w, c.bounds.width / 15);
      EXPECT_EQ(p.h, c.bounds.height / 15);
    }
  }
  const ui::PixelRect main = ui::ClientPixels(app::Form1Spec(), ui::kBaseDpi);
  EXPECT_EQ(main.w, 609);
  EXPECT_EQ(main.h, 665);
}

// Whether two ranges [a, a + n) and [b, b + m) share a point, or touch end to start.
bool Overlap(int a, int n, int b, int m) { return a < b + m && b < a + n; }

// Scaled, no two controls overlap that do not overlap in the table, no two that meet in the
// table leave a gap, and no size is off by more than the rounding of its two edges.
TEST(Layout, ScaledBoundsNeitherOverlapNorLeaveGaps) {
  for (int dpi : {96, 120, 144, 192}) {
    for (const ui::WindowSpec* spec : {&app::Form1Spec(), &sram::Form2Spec()}) {
      for (const ControlSpec& a : spec->controls) {
        const ui::Bounds ta = ui::WindowBounds(*spec, a);
        const ui::PixelRect pa = ui::PixelBounds(*spec, a, dpi);
        SCOPED_TRACE(std::to_string(dpi) + " dpi, " + std::string(spec->name) + "." +
                     std::string(a.name));
        const double scale = dpi / 1440.0;
        EXPECT_NEAR(pa.w, ta.width * scale, 1.0);
        EXPECT_NEAR(pa.h, ta.height * scale, 1.0);
        for (const ControlSpec& b : spec->controls) {
          if (&a == &b) continue;
          const ui::Bounds tb = ui::WindowBounds(*spec, b);
          const ui::PixelRect pb = ui::PixelBounds(*spec, b, dpi);
          const bool twipsX = Overlap(ta.left, ta.width, tb.left, tb.width);
          const bool twipsY = Overlap(ta.top, ta.height, tb.top, tb.height);
          const bool pixelsX = Overlap(pa.x, pa.w, pb.x, pb.w);
          const bool pixelsY = Overlap(pa.y, pa.h, pb.y, pb.h);
          if (!(twipsX && twipsY)) {
            EXPECT_FALSE(pixelsX && pixelsY) << "overlaps " << b.name;
          }
          if (ta.left + ta.width == tb.left) {
            EXPECT_EQ(pa.x + pa.w, pb.x) << "gap before " << b.name;
          }
          if (ta.top + ta.height == tb.top) {
            EXPECT_EQ(pa.y + pa.h, pb.y) << "gap above " << b.name;
          }
        }
      }
    }
  }
}

}  // namespace
