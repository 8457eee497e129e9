// What a terminal would make of a tool's output, decided once for every text box: a carriage
// return not followed by a line feed sends the text after it over the current line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ui {

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

}  // namespace ui
