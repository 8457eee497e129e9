// A text box kept in memory, for tests and benchmarks: the text, a caret or a selection as the
// user leaves it, and counts of how the box was used, so a test can tell a box that was only
// appended to from one that was read back and assigned anew.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "ui/output_filter.h"
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
  void clearLineToCaret() override {
    const std::size_t lineStart = LineStart(text_, start_);
    text_.erase(lineStart, end_ - lineStart);
    start_ = end_ = lineStart;
    ++lineClears_;
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
  int lineClears() const { return lineClears_; }
  int reads() const { return reads_; }
  int assignments() const { return assignments_; }

 protected:
  std::string& mutableText() { return text_; }
  // Removes the first count bytes; the caret and selection keep their place in what is left.
  void dropFront(std::size_t count) {
    text_.erase(0, count);
    start_ = start_ > count ? start_ - count : 0;
    end_ = end_ > count ? end_ - count : 0;
  }

 private:
  std::string text_;
  std::size_t start_ = 0;
  std::size_t end_ = 0;
  int insertions_ = 0;
  int lineClears_ = 0;
  mutable int reads_ = 0;
  int assignments_ = 0;
};

}  // namespace ui
