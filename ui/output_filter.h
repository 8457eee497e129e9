// What a terminal would make of a tool's output, decided once for every text box: a carriage
// return not followed by a line feed sends the text after it over the current line; carriage
// returns followed by a line feed end the line, its text kept. And how
// much an output box keeps when a tool prints without end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "exec/process.h"

namespace ui {

class TextBox;

class OutputFilter {
 public:
  // One edit of the box: first, with clearLine, remove the caret's line up to the caret;
  // then insert text at the caret.
  struct Step {
    bool clearLine = false;
    std::string text;
  };

  // The edits for the next chunk read from the tool. A carriage return at the end of a chunk
  // waits for the next one, where a line feed makes the pair one line end; at the very end of
  // the output it changes nothing.
  std::vector<Step> feed(std::string_view chunk);

 private:
  bool pendingReturn_ = false;
};

// One run's output going into a box as a terminal shows it. Each run has its own, so a
// carriage return that ends one run never rewrites the line of the next. A listener, when
// given, receives every chunk as it came, before the box does.
class TerminalOutput : public exec::Output {
 public:
  explicit TerminalOutput(TextBox& box, exec::Output* listener = nullptr)
      : box_(box), listener_(listener) {}
  void write(std::string_view chunk) override;

 private:
  TextBox& box_;
  exec::Output* listener_;
  OutputFilter filter_;
};

// Runs the tool with its output going into box as a terminal shows it, through a
// TerminalOutput of this run's own (listener, when given, reads along); returns how the tool
// ended.
exec::RunResult ExecAndCapture(const exec::CommandLine& sCommandLine, TextBox& cTextBox,
                               const std::string* sStartInFolder,
                               const exec::RunContext& context,
                               exec::Output* listener = nullptr);

// Where the line that pos is in starts: after the last line feed before pos. With pos the
// caret, the start of the caret's line.
std::size_t LineStart(std::string_view text, std::size_t pos);

// A multi-line box that grows past kOutputLimit bytes drops its oldest text, whole lines
// where it can, keeping at least the newest kOutputKeep bytes: a tool that prints without end
// leaves the window usable and its memory bounded. A table may give a box another limit; it
// then keeps at least half of it.
inline constexpr std::size_t kOutputLimit = std::size_t{16} << 20;
inline constexpr std::size_t kOutputKeep = kOutputLimit / 2;

// How many of the oldest bytes a box holding length bytes drops: 0 up to limit, else
// everything before the line that holds the first byte kept. lineStart(pos) is where the line
// holding pos starts. A line that would keep more than half as much again whole (a tool that
// never ends its line) is cut within, so every trim frees at least a quarter of the limit.
template <class LineStart>
std::size_t OutputTrimCount(std::size_t length, LineStart lineStart,
                            std::size_t limit = kOutputLimit) {
  if (length <= limit) return 0;
  const std::size_t keep = limit / 2;
  const std::size_t keepFrom = length - keep;
  const std::size_t start = lineStart(keepFrom);
  return keepFrom - start > keep / 2 ? keepFrom : start;
}

}  // namespace ui
