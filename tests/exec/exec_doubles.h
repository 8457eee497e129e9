// Test doubles for the runner: an output box with a caret and a selection, and an event loop
// that records how often it was asked to run and can act like a user between two reads.
#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "ui/output_filter.h"
#include "ui/window.h"

#ifndef _WIN32
#include <poll.h>
#endif

namespace exec_test {

class FakeTextBox : public ui::TextBox {
 public:
  explicit FakeTextBox(std::string text = {}) : text_(std::move(text)) {
    selStart_ = selEnd_ = text_.size();
  }

  std::string text() const override {
    ++reads_;
    return text_;
  }
  void setText(std::string_view text) override {
    ++assignments_;
    text_ = text;
    selStart_ = selEnd_ = 0;
  }
  void replaceSelection(std::string_view text) override {
    text_.replace(selStart_, selEnd_ - selStart_, text);
    selStart_ = selEnd_ = selStart_ + text.size();
    ++insertions_;
  }
  void clearLineToCaret() override {
    const std::size_t lineStart = ui::LineStart(text_, std::min(selStart_, selEnd_));
    text_.erase(lineStart, std::max(selStart_, selEnd_) - lineStart);
    selStart_ = selEnd_ = lineStart;
    ++lineClears_;
  }

  // What the user does with the mouse: a caret (start == end) or a selection.
  void select(std::size_t start, std::size_t end) {
    selStart_ = std::min(start, text_.size());
    selEnd_ = std::min(end, text_.size());
  }

  const std::string& content() const { return text_; }
  std::size_t caret() const { return selEnd_; }
  int insertions() const { return insertions_; }
  int lineClears() const { return lineClears_; }
  int reads() const { return reads_; }
  int assignments() const { return assignments_; }

 private:
  std::string text_;
  std::size_t selStart_ = 0;
  std::size_t selEnd_ = 0;
  int insertions_ = 0;
  int lineClears_ = 0;
  mutable int reads_ = 0;
  int assignments_ = 0;
};

class FakeEventLoop : public ui::EventLoop {
 public:
  // Runs on every processPendingEvents call, with the number of the call (from 1).
  std::function<void(int call)> onEvents;

  void processPendingEvents() override {
    ++eventCalls_;
    if (onEvents) onEvents(eventCalls_);
  }
#ifdef _WIN32
  // An anonymous pipe cannot be waited on; the blocking read that follows does the waiting.
  void waitForPipe(void*) override { ++waits_; }
#else
  void waitReadable(int fd) override {
    ++waits_;
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, -1);
  }
#endif

  int eventCalls() const { return eventCalls_; }
  int waits() const { return waits_; }

 private:
  int eventCalls_ = 0;
  int waits_ = 0;
};

}  // namespace exec_test
