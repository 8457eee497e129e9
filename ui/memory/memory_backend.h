// A window backend that keeps every control in memory. Tests and benchmarks drive it as a user
// would (click, select, type, close) without a display, and read back what the handlers did.
// It is built as a library of its own that only tests and benchmarks link; the program never
// contains it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/memory/memory_text.h"
#include "ui/window_base.h"

namespace ui {

class MemoryWindow;

class MemoryBackend : public Backend {
 public:
  MemoryBackend();
  ~MemoryBackend() override;

  std::unique_ptr<Window> createWindow(const WindowSpec& spec) override;
  void messageBox(std::string_view text, std::string_view title) override;
  bool askYesNo(std::string_view text, std::string_view title) override;
  void post(Handler fn) override;
  void run() override;
  void processPendingEvents() override;
  void waitForOutput(exec::PipeEnd pipe) override;

  // --- for tests ---
  struct Message {
    std::string text;
    std::string title;
    bool question = false;  // asked with "Yes" and "No"
  };
  const std::vector<Message>& messages() const { return messages_; }
  // Runs at every processPendingEvents(): what the user does while a tool runs.
  void setUserDuringEvents(std::function<void()> fn) { duringEvents_ = std::move(fn); }
  // Runs at every message box, before it is dismissed.
  void setUserAtMessageBox(std::function<void()> fn) { atMessageBox_ = std::move(fn); }
  // How the user answers the questions asked from now on; "No" until set.
  void setAnswer(bool yes) { answer_ = yes; }
  // Windows that exist now, by their table name.
  MemoryWindow* find(std::string_view name) const;
  Activation& activation() { return activation_; }
  // How often the event loop ran while a child was silent (waitForOutput).
  int waitTicks() const { return waitTicks_; }

 private:
  friend class MemoryWindow;
  void runPosted();

  Activation activation_;
  std::deque<Handler> posted_;
  std::vector<Message> messages_;
  std::function<void()> duringEvents_;
  std::function<void()> atMessageBox_;
  bool answer_ = false;
  std::vector<MemoryWindow*> windows_;
  int waitTicks_ = 0;
};

class MemoryWindow : public WindowBase {
 public:
  MemoryWindow(const WindowSpec& spec, MemoryBackend& backend);
  ~MemoryWindow() override;

  bool enabled() const override { return enabled_; }
  void setEnabled(bool on) override { enabled_ = on; }

  bool visible() const { return visible_; }
  bool hasFocus() const { return backend_.activation().active() == this; }
  int focusCount() const { return focusCount_; }

  // --- the user's actions; each is refused (returns false) while the window or the control
  // is disabled, as a real window refuses input ---
  bool userClick(std::string_view name);           // button, label, check/option box, text box
  bool userSelect(std::string_view name, int index);       // file list or list box entry
  bool userDoubleClick(std::string_view name, int index);  // file list: select, then DblClick
  bool userOpenDirectory(std::string_view name, std::string_view path);
  bool userPickDrive(std::string_view name, std::string_view drive);
  bool userScroll(std::string_view name, int delta);  // +1: down arrow, -1: up arrow
  bool userType(std::string_view name, std::string_view text);
  bool userClose();  // close button

  void raiseChange(std::string_view name) { raise(name, Event::Change); }

 protected:
  Control& nativeControl(std::string_view name) override;
  void nativeShow() override { visible_ = true; }
  void nativeFocus() override { ++focusCount_; }
  void nativeDestroy() override { visible_ = false; }

 private:
  bool accepts(std::string_view name);
  Kind kindOf(std::string_view name) const;

  MemoryBackend& backend_;
  std::map<std::string, std::unique_ptr<Control>, std::less<>> controls_;
  bool enabled_ = true;
  bool visible_ = false;
  int focusCount_ = 0;
};

}  // namespace ui
