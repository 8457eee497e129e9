// Tool output as a terminal shows it: progress lines rewritten in place, line ends split
// between two reads, a carriage return at the very end; and how much an output box keeps.
#include "ui/output_filter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "terminal_cases.h"
#include "ui/memory/memory_backend.h"

namespace {

// Applies the steps to a box whose caret stays at the end, as the box does while the tool runs.
std::string Show(const std::vector<std::string>& chunks) {
  ui::OutputFilter filter;
  std::string box;
  for (const std::string& chunk : chunks) {
    for (const ui::OutputFilter::Step& step : filter.feed(chunk)) {
      if (step.clearLine) box.erase(box.find_last_of('\n') + 1);  // npos + 1 is 0
      box += step.text;
    }
  }
  return box;
}

TEST(OutputFilter, ShowsWhatATerminalWould) {
  struct Row {
    std::vector<std::string> chunks;
    std::string shown;
  };
  const Row rows[] = {
      {{"plain\nlines\n"}, "plain\nlines\n"},
      {{"a\r\nb\r\n"}, "a\r\nb\r\n"},
      {{"head\n10%\r50%\r100%\ndone\n"}, "head\n100%\ndone\n"},
      {{"head\n10%\r", "50%\r", "100%\n"}, "head\n100%\n"},
      {{"line\r", "\nnext\n"}, "line\r\nnext\n"},  // CR LF split between two reads
      {{"last 100%\r"}, "last 100%"},               // CR at the very end: the line stays
      {{"long line\rab"}, "ab"},
      {{"x\r\r\ry"}, "y"},
      {{"", "a", ""}, "a"},
  };
  for (const Row& row : rows) EXPECT_EQ(Show(row.chunks), row.shown) << row.chunks.front();
}

}  // namespace

namespace {

constexpr ui::ControlSpec kBoxes[] = {
    {"Out", ui::Kind::MultiLineText, "", "", {0, 0, 100, 100}},
};
const ui::WindowSpec kBoxSpec{.name = "Boxes", .caption = "Boxes", .controls = kBoxes};

TEST(TerminalOutput, InTheMemoryBox) {
  ui::MemoryBackend backend;
  std::unique_ptr<ui::Window> window = backend.createWindow(kBoxSpec);
  auto& box = dynamic_cast<ui::MemoryTextBox&>(window->get<ui::TextBox>("Out"));
  terminal_cases::RunAll(
      box, [&](std::size_t from, std::size_t to) { box.select(from, to); },
      [&] { return box.caret(); });
}

TEST(OutputTrimCount, DropsWholeLinesPastTheLimitAndCutsOnlyAnEndlessLine) {
  const std::size_t limit = ui::kOutputLimit;
  const std::size_t keep = ui::kOutputKeep;
  struct Row {
    const char* name;
    std::size_t length;
    std::size_t back;  // how far before the first kept byte its line starts
    bool dropsToLineStart;
  };
  const Row rows[] = {
      {"a line starting at the first kept byte", limit + 1, 0, true},
      {"a line that started earlier", limit + 100, 1000, true},
      {"a line of half the kept text before it", limit + 100, keep / 2, true},
      {"a longer line is cut", limit + 100, keep / 2 + 1, false},
      {"one line from the start", 3 * limit, 3 * limit - keep, false},
  };
  for (const Row& row : rows) {
    const std::size_t keepFrom = row.length - keep;
    std::size_t asked = 0;
    const std::size_t dropped = ui::OutputTrimCount(row.length, [&](std::size_t pos) {
      asked = pos;
      return pos - row.back;
    });
    EXPECT_EQ(asked, keepFrom) << row.name;
    EXPECT_EQ(dropped, row.dropsToLineStart ? keepFrom - row.back : keepFrom) << row.name;
  }
  EXPECT_EQ(ui::OutputTrimCount(limit, [](std::size_t) -> std::size_t { return 0; }), 0u)
      << "at the limit nothing is dropped";
}

TEST(LineStart, IsAfterTheLastLineFeedBeforeThePosition) {
  struct Row {
    const char* text;
    std::size_t pos, start;
  };
  const Row rows[] = {
      {"", 0, 0},          {"abc", 2, 0},        {"ab\ncd", 3, 3}, {"ab\ncd", 5, 3},
      {"ab\ncd", 2, 0},    {"a\r\n\r\nb", 6, 5}, {"ab\n", 3, 3},
  };
  for (const Row& row : rows) EXPECT_EQ(ui::LineStart(row.text, row.pos), row.start) << row.text;
}

TEST(OutputCap, TheMemoryBoxKeepsTheNewestOutput) {
  ui::MemoryBackend backend;
  std::unique_ptr<ui::Window> window = backend.createWindow(kBoxSpec);
  auto& box = dynamic_cast<ui::MemoryTextBox&>(window->get<ui::TextBox>("Out"));
  for (std::size_t lineLength : {80, 0})
    terminal_cases::CheckCap(box, lineLength, [&] { return box.caret(); });
}

}  // namespace
