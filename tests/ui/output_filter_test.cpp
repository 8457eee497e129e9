// Tool output as a terminal shows it: progress lines rewritten in place, line ends split
// between two reads, a carriage return at the very end.
#include "ui/output_filter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
