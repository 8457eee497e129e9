// A text box kept in memory, for tests and benchmarks: the shared text box holding plain values,
// with counts of how the box was used, so a test can tell a box that was only appended to from
// one that was read back and assigned anew.
#pragma once

#include <string>
#include <string_view>

#include "ui/controls.h"

namespace ui {

class MemoryTextBox : public ValueTextBox {
 public:
  // On its own the box starts with the caret after its text; a window's box starts with the
  // caret at the start.
  explicit MemoryTextBox(std::string_view text = {}) : ValueTextBox(text) {
    select(text.size(), text.size());
  }
  explicit MemoryTextBox(const ControlSpec& spec) : ValueTextBox(spec) {}

  std::string text() const override {
    ++reads_;
    return ValueTextBox::text();
  }
  void setText(std::string_view text) override {
    ++assignments_;
    ValueTextBox::setText(text);
  }
  void replaceSelection(std::string_view text) override {
    ValueTextBox::replaceSelection(text);
    ++insertions_;
  }
  void clearLineToCaret() override {
    ValueTextBox::clearLineToCaret();
    ++lineClears_;
  }

  int insertions() const { return insertions_; }
  int lineClears() const { return lineClears_; }
  int reads() const { return reads_; }
  int assignments() const { return assignments_; }

 private:
  int insertions_ = 0;
  int lineClears_ = 0;
  mutable int reads_ = 0;
  int assignments_ = 0;
};

}  // namespace ui
