// A text box kept in memory, for tests and benchmarks: the text, a caret or a selection as the
// user leaves it, and counts of how the box was used, so a test can tell a box that was only
// appended to from one that was read back and assigned anew.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "ui/window.h"

namespace ui {

class MemoryTextBox : public TextBox {
 public:
  // The caret starts after the text.
  explicit MemoryTextBox(std::string_view text = {}) : text_(text) { start_ = end_ = text_.size(); }

  std::string text() const override {
    ++reads_;
    return text_;
  }
  // Leaves the caret at the start, as a control does when its text is assigned.
  void setText(std::string_view text) override {
    ++assignments_;
    text_ = text;
    start_ = end_ = 0;
  }
  void replaceSelection(std::string_view text) override {
    text_.replace(start_, end_ - start_, text);
    start_ = end_ = start_ + text.size();
    ++insertions_;
  }

  // What the user does with the mouse: a caret (start == end) or a selection.
  void select(std::size_t start, std::size_t end) {
    start_ = std::min(start, text_.size());
    end_ = std::clamp(end, start_, text_.size());
  }

  // The text without counting a read.
  const std::string& content() const { return text_; }
  std::size_t caret() const { return end_; }
  int insertions() const { return insertions_; }
  int reads() const { return reads_; }
  int assignments() const { return assignments_; }

 private:
  std::string text_;
  std::size_t start_ = 0;
  std::size_t end_ = 0;
  int insertions_ = 0;
  mutable int reads_ = 0;
  int assignments_ = 0;
};

}  // namespace ui
