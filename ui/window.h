// The window layer's control interfaces. Handlers are written against these and never see a
// toolkit: a backend (FLTK, Win32, or the in-memory one used by tests) implements them.
// All text is UTF-8.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "exec/process.h"
#include "ui/layout.h"

namespace ui {

enum class Event {
  Click,     // button, label, check/option box, text box (mouse only), file list selection
  DblClick,  // file list
  Change,    // drive list, directory list, scroll bar
  Activate,  // window: shown the first time, or handed the focus back by another window
};

using Handler = std::function<void()>;

// Every control can be enabled and disabled; the job buttons are greyed during a tool run.
class Control {
 public:
  virtual ~Control() = default;
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool on) = 0;
};

// Labels, buttons, frames, check and option boxes: the text shown on the control.
class Captioned {
 public:
  virtual ~Captioned() = default;
  virtual std::string caption() const = 0;
  virtual void setCaption(std::string_view text) = 0;
};

class TextBox {
 public:
  virtual ~TextBox() = default;
  virtual std::string text() const = 0;
  virtual void setText(std::string_view text) = 0;
  // Replaces the current selection (inserts at the caret when nothing is selected) and leaves
  // the caret right after the inserted text. Never rereads or reassigns the rest of the text.
  virtual void replaceSelection(std::string_view text) = 0;
  // Removes the selection and the text before it back to the start of its line, and leaves
  // the caret there: where a tool's carriage return starts its line over. The lines before
  // and the text after stay as they are.
  virtual void clearLineToCaret() = 0;
};

class CheckBox {
 public:
  virtual ~CheckBox() = default;
  virtual int value() const = 0;  // 0 clear, 1 set
  virtual void setValue(int value) = 0;
};

// Selecting one option button clears the others of its container.
class OptionButton {
 public:
  virtual ~OptionButton() = default;
  virtual bool value() const = 0;
  virtual void setValue(bool selected) = 0;
};

// Setting a different value raises Change, as the arrows do.
class ScrollBar {
 public:
  virtual ~ScrollBar() = default;
  virtual int value() const = 0;
  virtual void setValue(int value) = 0;
};

class ListBox {
 public:
  virtual ~ListBox() = default;
  virtual void addItem(std::string_view text) = 0;
  virtual void removeItem(int index) = 0;
  virtual void clear() = 0;
  virtual int listCount() const = 0;
  virtual int listIndex() const = 0;  // -1: nothing selected
  virtual void setListIndex(int index) = 0;
  virtual std::string item(int index) const = 0;
};

// A drive: on Windows "c:", on Linux "/" or a mount point such as "/media/usb".
class DriveList {
 public:
  virtual ~DriveList() = default;
  virtual std::string drive() const = 0;
  // Selecting another drive raises Change.
  virtual void setDrive(std::string_view drive) = 0;
};

// The opened directory. A directory that is only highlighted does not change the path.
class DirList {
 public:
  virtual ~DirList() = default;
  virtual std::string path() const = 0;
  // Setting a different path raises Change. The path becomes its drive's current directory
  // (platform::SharedDriveDirectories()).
  virtual void setPath(std::string_view path) = 0;
};

// Files only, sorted by name, without hidden and system files.
class FileList {
 public:
  virtual ~FileList() = default;
  virtual std::string path() const = 0;
  virtual void setPath(std::string_view path) = 0;
  virtual int listCount() const = 0;
  virtual int listIndex() const = 0;  // -1: no file selected
  virtual void setListIndex(int index) = 0;
  virtual std::string item(int index) const = 0;
  std::string fileName() const { return listIndex() < 0 ? std::string() : item(listIndex()); }
};

class Window {
 public:
  virtual ~Window() = default;

  virtual const WindowSpec& spec() const = 0;

  // Not modal, no owner.
  virtual void show() = 0;
  // Makes owner the window's owner, before it is shown: on Windows it then has no taskbar
  // button of its own and stays above the owner. Other window systems need nothing.
  virtual void setOwner(Window& owner) { (void)owner; }
  virtual bool enabled() const = 0;
  virtual void setEnabled(bool on) = 0;
  // Gives the window the keyboard focus. When another window of the program had it, the
  // window's Activate handler runs from the event loop afterwards (not from inside this call).
  virtual void setFocus() = 0;
  // Closes and destroys the native window, as the close button does, running the unload
  // handler first. A handler that sets cancel keeps the window open.
  virtual void unload() = 0;
  virtual bool loaded() const = 0;

  // The control called name, as the interface T. Asking for a name the window does not have,
  // or for the wrong kind, is a programming error and aborts.
  virtual Control& control(std::string_view name) = 0;
  template <class T>
  T& get(std::string_view name) {
    T* p = dynamic_cast<T*>(&control(name));
    if (!p) badControl(name);
    return *p;
  }

  virtual void on(std::string_view controlName, Event event, Handler handler) = 0;
  virtual void onActivate(Handler handler) = 0;
  virtual void onUnload(std::function<void(bool& cancel)> handler) = 0;

 protected:
  [[noreturn]] static void badControl(std::string_view name);
};

// Every backend keeps its windows working while the runner waits for the tool's output.
class Backend : public exec::Waiter {
 public:
  // Creates the window hidden, with every control at the content its table gives.
  virtual std::unique_ptr<Window> createWindow(const WindowSpec& spec) = 0;
  // Modal message box with one OK button and no icon; returns when it is dismissed.
  virtual void messageBox(std::string_view text, std::string_view title) = 0;
  // Modal message box with a question, the buttons "Yes" and "No" and no icon; true for "Yes".
  // "No" is the default button, and closing the box any other way answers no: a question that
  // offers to end something never does so on a stray Enter or Escape.
  virtual bool askYesNo(std::string_view text, std::string_view title) = 0;
  // Runs fn once from the event loop, after the events pending now.
  virtual void post(Handler fn) = 0;
  // Runs the event loop until no window is left.
  virtual void run() = 0;
};

// The backend this build was made with: FLTK on Linux, native controls on Windows.
std::unique_ptr<Backend> CreateNativeBackend();

}  // namespace ui
