// Tool output through a real output box as a terminal shows it, one table for every backend:
// each backend's test says how the user puts the caret or the selection, and reads the caret.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "ui/output_filter.h"
#include "ui/window.h"

namespace terminal_cases {

struct Case {
  const char* name;
  std::string before;  // in the box when the first run starts
  std::size_t from, to;  // the user's selection before the first run; from == to: caret only
  std::vector<std::vector<std::string>> runs;  // the chunks each tool run writes, run by run
  std::string after;
  std::size_t caret;
};

// Lines end in CR LF, the line end that every backend's box shows as one.
inline const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"progress rewritten in place", "", 0, 0,
       {{"head\r\n\r  16384 Bytes [=---] 10%\r  32768 Bytes [==--] 50%\r 65536 Bytes [====] "
         "100%\r\ndone\r\n"}},
       "head\r\n 65536 Bytes [====] 100%\r\ndone\r\n", 38},
      {"progress over several reads", "", 0, 0,
       {{"head\r\n10%\r", "50%", "\r", "100%\r\n"}}, "head\r\n100%\r\n", 12},
      {"CR LF split between two reads", "", 0, 0, {{"line\r", "\nnext\r\n"}},
       "line\r\nnext\r\n", 12},
      {"CR CR LF ends the line with its text", "", 0, 0, {{"one\r\r\ntwo\r\r\n"}},
       "one\r\ntwo\r\n", 10},
      {"CR CR LF over three reads", "", 0, 0, {{"one\r", "\r", "\n", "two\r\r\r\n"}},
       "one\r\ntwo\r\n", 10},
      {"CR CR then text rewrites the line once", "", 0, 0, {{"50%\r\r100%\r\r\n"}},
       "100%\r\n", 6},
      {"CR at the very end of the output", "", 0, 0, {{"last 100%\r"}}, "last 100%", 9},
      {"the next run starts after it", "", 0, 0, {{"50%\r"}, {"next\r\n"}}, "50%next\r\n", 9},
      {"text after the caret the user moved stays", "old\r\ntail", 5, 5, {{"10%\r50%\r"}},
       "old\r\n50%tail", 8},
      {"earlier lines stay", "one\r\ntwo\r\n", 10, 10, {{"x\rthree\r\n"}},
       "one\r\ntwo\r\nthree\r\n", 17},
      {"selection replaced", "keep DROP keep", 5, 9, {{"new"}}, "keep new keep", 8},
      {"selection gone with its line", "a\r\nxxSELyy", 5, 8, {{"\r7%"}}, "a\r\n7%yy", 5},
  };
  return cases;
}

// Runs every case through box: select(from, to) is what the user does, caret() what the box
// reports afterwards.
inline void RunAll(ui::TextBox& box, const std::function<void(std::size_t, std::size_t)>& select,
                   const std::function<std::size_t()>& caret) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    box.setText(c.before);
    select(c.from, c.to);
    for (const std::vector<std::string>& run : c.runs) {
      ui::TerminalOutput output(box);
      for (const std::string& chunk : run) output.write(chunk);
    }
    EXPECT_EQ(box.text(), c.after);
    EXPECT_EQ(caret(), c.caret);
  }
}

}  // namespace terminal_cases

namespace terminal_cases {

// Fills box (whose output limit is limit) with lines of lineLength bytes (0: one line that
// never ends) in chunks of a sixteenth of the limit, past the limit, and checks that it kept
// the newest output, from a line start where there is one, and that the caret stayed at the end.
inline void CheckCap(ui::TextBox& box, std::size_t lineLength,
                     const std::function<std::size_t()>& caret,
                     std::size_t limit = ui::kOutputLimit) {
  SCOPED_TRACE("lines of " + std::to_string(lineLength));
  std::string written;
  const std::size_t total = limit + (limit / 16);
  written.reserve(total);
  for (std::size_t line = 0; written.size() < total; ++line) {
    if (lineLength == 0) {
      written += static_cast<char>('a' + line % 26);
      continue;
    }
    std::string text = "line " + std::to_string(line) + " ";
    text.resize(lineLength - 2, '.');
    written += text + "\r\n";
  }
  box.setText("");
  const std::size_t chunk = limit / 16;
  for (std::size_t at = 0; at < written.size(); at += chunk)
    box.replaceSelection(std::string_view(written).substr(at, chunk));
  const std::string kept = box.text();
  EXPECT_LE(kept.size(), limit);
  EXPECT_GE(kept.size(), limit / 2);
  ASSERT_LE(kept.size(), written.size());
  const std::size_t cut = written.size() - kept.size();
  EXPECT_TRUE(kept == std::string_view(written).substr(cut)) << "the newest output, unchanged";
  if (lineLength != 0) {
    EXPECT_EQ(written[cut - 1], '\n') << "whole lines";
  }
  EXPECT_EQ(caret(), kept.size());
}

}  // namespace terminal_cases
