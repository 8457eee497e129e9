// How the controls behave, one table per kind for every backend: each backend's test says how
// the user acts on its native control and how it reads what the control shows; the tables say
// what must come of it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ui/window.h"

namespace control_cases {

// A1 and A2 in the window, B1 and B2 in the frame F; a scroll bar from 0 to 3, square, so it
// shows just its arrows; a check box, a list box and both kinds of text box.
inline constexpr ui::ControlSpec kControls[] = {
    {"A1", ui::Kind::OptionButton, "A1", "", {0, 0, 1500, 300}, ui::kDefaultFont, 0},
    {"A2", ui::Kind::OptionButton, "A2", "", {0, 300, 1500, 300}, ui::kDefaultFont, 1},
    {"F", ui::Kind::Frame, "F", "", {1500, 0, 3000, 1500}},
    {"B1", ui::Kind::OptionButton, "B1", "F", {150, 300, 1500, 300}, ui::kDefaultFont, 2},
    {"B2", ui::Kind::OptionButton, "B2", "F", {150, 600, 1500, 300}, ui::kDefaultFont, 3},
    {"Bar", ui::Kind::VScrollBar, "", "", {4800, 120, 255, 255}, ui::kDefaultFont, 4,
     ui::kSystemColour, false, ui::Align::Left, 0, 3},
    {"Check", ui::Kind::CheckBox, "Check", "", {0, 900, 1400, 255}, ui::kDefaultFont, 5},
    {"List", ui::Kind::ListBox, "", "", {0, 1600, 1500, 1000}, ui::kDefaultFont, 6},
    {"Text", ui::Kind::TextBox, "", "", {1600, 1600, 1500, 270}, ui::kDefaultFont, 7},
    {"Out", ui::Kind::MultiLineText, "", "", {3200, 1600, 2700, 1200}, ui::kDefaultFont, 8},
};
inline const ui::WindowSpec kSpec{.name = "Controls", .caption = "Controls", .clientWidth = 6000,
                                  .clientHeight = 3000, .controls = kControls};

// --- option buttons -------------------------------------------------------------------------

// click(name) is the user's click on an option button.
inline void RunOptionCases(ui::Window& w, const std::function<void(const char*)>& click) {
  const char* names[] = {"A1", "A2", "B1", "B2"};
  int clicks = 0;
  for (const char* n : names) w.on(n, ui::Event::Click, [&clicks] { ++clicks; });
  auto state = [&] {
    std::string s;
    for (const char* n : names) s += w.get<ui::OptionButton>(n).value() ? '1' : '0';
    return s;
  };
  EXPECT_EQ(state(), "0000");
  struct Step {
    const char* name;
    bool byUser;
    bool select;
    const char* expected;
  };
  const Step steps[] = {
      {"A1", false, true, "1000"}, {"B2", true, true, "1001"},   {"A2", true, true, "0101"},
      {"B1", false, true, "0110"}, {"B1", false, false, "0100"}, {"A2", false, false, "0000"},
      {"B2", false, true, "0001"}, {"A1", false, true, "1001"},  {"A2", false, true, "0101"},
      {"A1", true, true, "1001"},
  };
  int expectedClicks = 0;
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(s.name) + (s.byUser ? " clicked" : " set"));
    if (s.byUser) {
      click(s.name);
      ++expectedClicks;
    } else {
      w.get<ui::OptionButton>(s.name).setValue(s.select);
    }
    EXPECT_EQ(state(), s.expected);
    EXPECT_EQ(clicks, expectedClicks) << "a click from the user only";
  }
}

// --- the scroll bar -------------------------------------------------------------------------

enum class Move { Up, Down, PageUp, PageDown, Top, Bottom, Set };

// move(how) is the user's arrow click or key on the scroll bar; shown() what it shows.
inline void RunScrollCases(ui::Window& w, const std::function<void(Move)>& move,
                           const std::function<int()>& shown) {
  auto& bar = w.get<ui::ScrollBar>("Bar");
  int changes = 0;
  w.on("Bar", ui::Event::Change, [&changes] { ++changes; });
  EXPECT_EQ(bar.value(), 0);
  struct Step {
    const char* what;
    Move move;
    int set;  // for Move::Set, the value the program sets
    int value;
    int changes;
  };
  const Step steps[] = {
      {"up at the top", Move::Up, 0, 0, 0},         {"down", Move::Down, 0, 1, 1},
      {"down", Move::Down, 0, 2, 2},                {"down", Move::Down, 0, 3, 3},
      {"down at the bottom", Move::Down, 0, 3, 3},  {"page up", Move::PageUp, 0, 2, 4},
      {"page down", Move::PageDown, 0, 3, 5},       {"page down at the bottom", Move::PageDown, 0, 3, 5},
      {"top", Move::Top, 0, 0, 6},                  {"up at the top", Move::Up, 0, 0, 6},
      {"set beyond the end stops there", Move::Set, 7, 3, 7},
      {"set to the same value changes nothing", Move::Set, 3, 3, 7},
      {"set below the start stops there", Move::Set, -2, 0, 8},
      {"bottom", Move::Bottom, 0, 3, 9},
      {"up", Move::Up, 0, 2, 10},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    if (s.move == Move::Set)
      bar.setValue(s.set);
    else
      move(s.move);
    EXPECT_EQ(bar.value(), s.value);
    EXPECT_EQ(shown(), s.value);
    EXPECT_EQ(changes, s.changes);
  }
}

// --- the check box --------------------------------------------------------------------------

// Whatever the program sets, the box is clear or set.
inline void RunCheckValueCases(ui::CheckBox& box) {
  EXPECT_EQ(box.value(), 0);
  const struct {
    int set;
    int value;
  } rows[] = {{1, 1}, {0, 0}, {2, 1}, {-1, 1}, {0, 0}};
  for (const auto& row : rows) {
    box.setValue(row.set);
    EXPECT_EQ(box.value(), row.value) << row.set;
  }
}

// click() is the user's click on the check box.
inline void RunCheckCases(ui::Window& w, const std::function<void()>& click) {
  auto& box = w.get<ui::CheckBox>("Check");
  RunCheckValueCases(box);
  int clicks = 0;
  w.on("Check", ui::Event::Click, [&clicks] { ++clicks; });
  click();
  EXPECT_EQ(box.value(), 1);
  click();
  EXPECT_EQ(box.value(), 0);
  EXPECT_EQ(clicks, 2);
}

// --- the list box ---------------------------------------------------------------------------

inline std::vector<std::string> Items(const ui::ListBox& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.listCount(); ++i) items.push_back(list.item(i));
  return items;
}

// Entries stay in the order they were added; removing one keeps the selection on its entry.
inline void RunListCases(ui::ListBox& list) {
  struct Row {
    const char* what;
    int selected;
    int removed;
    int selectedAfter;
    std::vector<std::string> items;
  };
  const Row rows[] = {
      {"below the selection", 2, 0, 1, {"b", "c"}},
      {"the selection itself", 1, 1, -1, {"a", "c"}},
      {"above the selection", 0, 2, 0, {"a", "b"}},
      {"out of range", 1, 3, 1, {"a", "b", "c"}},
      {"negative", 1, -1, 1, {"a", "b", "c"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    list.clear();
    EXPECT_EQ(list.listCount(), 0);
    EXPECT_EQ(list.listIndex(), -1);
    for (const char* item : {"a", "b", "c"}) list.addItem(item);
    list.setListIndex(row.selected);
    list.removeItem(row.removed);
    EXPECT_EQ(list.listIndex(), row.selectedAfter);
    EXPECT_EQ(Items(list), row.items);
  }
  list.clear();
  for (const char* item : {"Sonic", "Columns", "Altered Beast"}) list.addItem(item);
  EXPECT_EQ(Items(list), (std::vector<std::string>{"Sonic", "Columns", "Altered Beast"}))
      << "unsorted";
  list.setListIndex(1);
  EXPECT_EQ(list.listIndex(), 1);
  list.setListIndex(7);
  EXPECT_EQ(list.listIndex(), -1) << "an index outside the list selects nothing";
  EXPECT_EQ(list.item(7), "");
  EXPECT_EQ(list.item(-1), "");
  list.clear();
  list.setListIndex(0);
  EXPECT_EQ(list.listIndex(), -1) << "nothing to select";
  EXPECT_EQ(list.item(0), "");
}

// --- text boxes -----------------------------------------------------------------------------

// select(from, to) is the user's selection (from > to: made backwards; from == to: the caret
// only); caret() where the box shows the caret.
using Select = std::function<void(std::size_t, std::size_t)>;
using Caret = std::function<std::size_t()>;

inline void RunReplaceCases(ui::TextBox& box, const Select& select, const Caret& caret) {
  struct Row {
    const char* before;
    std::size_t from, to;
    const char* insert;
    const char* after;
    std::size_t caret;
  };
  const Row rows[] = {
      {"", 0, 0, "first", "first", 5},
      {"abc", 3, 3, "def", "abcdef", 6},
      {"abc", 1, 1, "XY", "aXYbc", 3},
      {"abcdef", 1, 4, "-", "a-ef", 2},
      {"hello world", 6, 11, "there", "hello there", 11},
      {"hello world", 11, 6, "there", "hello there", 11},
      {"hello", 0, 0, ">", ">hello", 1},
      {"abc", 1, 2, "", "ac", 1},
      {"line\r\n", 6, 6, "more\r\n", "line\r\nmore\r\n", 12},
      {"50%\r", 4, 4, "60%\r", "50%\r60%\r", 8},  // the box keeps what it is given
  };
  box.setText("save.srm");
  EXPECT_EQ(caret(), 0u) << "assigning the text puts the caret at its start";
  box.replaceSelection("my ");
  EXPECT_EQ(box.text(), "my save.srm");
  for (const Row& r : rows) {
    SCOPED_TRACE(std::string(r.before) + " + " + r.insert);
    box.setText(r.before);
    select(r.from, r.to);
    box.replaceSelection(r.insert);
    EXPECT_EQ(box.text(), r.after);
    EXPECT_EQ(caret(), r.caret);
  }
}

// Clearing the line up to the caret in a box of one line keeps what follows the caret.
inline void RunClearLineCases(ui::TextBox& box, const Select& select, const Caret& caret) {
  const struct {
    std::size_t from, to;
    const char* after;
  } rows[] = {{3, 3, "456"}, {1, 4, "56"}, {0, 0, "123456"}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.after);
    box.setText("123456");
    select(r.from, r.to);
    box.clearLineToCaret();
    EXPECT_EQ(box.text(), r.after);
    EXPECT_EQ(caret(), 0u);
  }
}

}  // namespace control_cases
