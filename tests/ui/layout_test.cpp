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

}  // namespace
