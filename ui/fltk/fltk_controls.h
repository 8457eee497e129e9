// The window layer's controls as FLTK widgets: one class per kind, derived from the widget it
// shows, doing only the native part of the rules in ui/controls.h and ui/file_browser.h. Each
// reports what the user does through its callback, which the window connects to its events,
// and refuses input while it or its window is disabled.
#pragma once

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_Text_Editor.H>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/controls.h"
#include "ui/file_browser.h"
#include "ui/layout.h"
#include "ui/logo.h"
#include "ui/window_base.h"

namespace ui::fltk {

// Text for an FLTK label: '@' starts a symbol there, so it is doubled to show as itself.
std::string LabelText(std::string_view text);
// Text for a menu item, where '&' also marks a shortcut.
std::string MenuText(std::string_view text);
// A list line shown literally: FLTK reads "@." at the start of a line as "the rest is plain
// text", so '@' in a title formats nothing, and an empty title is a line FLTK can measure.
void AddListLine(Fl_Browser& list, std::string_view text);
// The text of list line (1-based) as it was added, without that prefix.
std::string ListLine(const Fl_Browser& list, int line);

// Selects line index of list (0-based; outside the list: none) and scrolls it into view.
void SelectLine(Fl_Browser& list, int index);

// Whether the widget must refuse event: nothing takes input while the widget or its window is
// disabled.
bool RefusesInput(const Fl_Widget& widget, int event);

template <class W>
class Guarded : public W {
 public:
  using W::W;
  int handle(int event) override {
    if (RefusesInput(*this, event)) return 0;
    return W::handle(event);
  }
};

// Where a control goes, in pixels of the window.
struct Placement {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  int dpi = kBaseDpi;  // the resolution the window is laid out at; fonts follow it
};

// What every control shares: its widget's callback becomes the control's events, and enabling
// is the widget's.
class WidgetControl : public Control {
 public:
  bool enabled() const override { return widget_.active() != 0; }
  void setEnabled(bool on) override;
  Fl_Widget& widget() const { return widget_; }

 protected:
  WidgetControl(WindowBase& window, const ControlSpec& spec, Fl_Widget& widget);
  // The handler may unload the window and so destroy this control: raise last.
  void raise(Event event) { window_.raise(name_, event); }
  // The widget's callback: the user did something the control reports.
  virtual void userActed() { raise(Event::Click); }

  WindowBase& window_;
  const ControlSpec& spec_;

 private:
  std::string name_;
  Fl_Widget& widget_;
};

// A control whose native part is the widget W, placed where its table row says.
template <class W>
class Native : public Guarded<W>, public WidgetControl {
 public:
  Native(WindowBase& window, const ControlSpec& spec, const Placement& at)
      : Guarded<W>(at.x, at.y, at.w, at.h), WidgetControl(window, spec, *this) {}
};

// Label, link label, button and frame: the caption is the widget's label.
template <class W>
class CaptionedWidget : public Native<W>, public CaptionBase {
 public:
  CaptionedWidget(WindowBase& window, const ControlSpec& spec, const Placement& at)
      : Native<W>(window, spec, at) {}

 protected:
  void showCaption(const std::string& text) override {
    this->copy_label(LabelText(text).c_str());
    this->redraw();
  }
};

// A label. A click reports through the callback; a link draws its text underlined and shows
// the hand pointer.
class Label : public CaptionedWidget<Fl_Box> {
 public:
  Label(WindowBase& window, const ControlSpec& spec, const Placement& at);
  int handle(int event) override;
  void draw() override;

 private:
  bool link_ = false;
};

// The logo, stretched to the widget's size once, when created.
class Picture : public Native<Fl_Box> {
 public:
  Picture(WindowBase& window, const ControlSpec& spec, const Placement& at);
  void draw() override;

 private:
  RgbImage pixels_;
  std::unique_ptr<Fl_RGB_Image> image_;
};

// The group that holds a window's controls. Tab past the last control (Shift+Tab before the
// first) wraps around, as it does on Windows; FLTK's own navigation stops there.
class ControlArea : public Fl_Group {
 public:
  ControlArea(int x, int y, int w, int h);
  int handle(int event) override;
};

// A group box: an etched frame with its caption set into the top edge. The window fills it
// with the frame's controls.
class Frame : public CaptionedWidget<Fl_Group> {
 public:
  Frame(WindowBase& window, const ControlSpec& spec, const Placement& at);
  void draw() override;
};

class CheckControl : public CaptionedWidget<Fl_Check_Button>, public CheckBoxBase {
 public:
  CheckControl(WindowBase& window, const ControlSpec& spec, const Placement& at);

 protected:
  int nativeValue() const override { return Fl_Check_Button::value(); }
  void showValue(int value) override { Fl_Check_Button::value(value); }
};

// FLTK itself clears the radio buttons of the same parent group: one group per window or frame.
class OptionControl : public CaptionedWidget<Fl_Round_Button>, public OptionButtonBase {
 public:
  OptionControl(WindowBase& window, const ControlSpec& spec, const Placement& at);

 protected:
  bool nativeValue() const override { return Fl_Round_Button::value() != 0; }
  void showValue(bool selected) override;
  void userActed() override;
};

// A vertical scroll bar. Too short for a thumb, it shows just its two arrows, as a 17-pixel
// slot selector does; each arrow click or arrow key moves one step, held arrows repeat.
// Reports every change of value, never a click that changes nothing.
class ScrollControl : public Native<Fl_Scrollbar>, public ScrollBarBase {
 public:
  ScrollControl(WindowBase& window, const ControlSpec& spec, const Placement& at);
  ~ScrollControl() override;
  int handle(int event) override;
  void draw() override;
  bool compact() const { return h() < 3 * w(); }

 protected:
  void showValue(int value) override;
  void userActed() override { setValue(static_cast<int>(Fl_Scrollbar::value())); }

 private:
  // Moves by delta steps within the range and reports the value.
  void step(int delta);
  static void Repeat(void* self);
  int pressed_ = 0;  // -1 up arrow held, +1 down arrow held
};

// A text buffer whose gap grows with the text, so appending a long output chunk by chunk
// costs time in proportion to the text added, not to the text already there.
class GrowingBuffer : public Fl_Text_Buffer {
 public:
  GrowingBuffer() : Fl_Text_Buffer(0, 4096) {}
  // Inserts what fits: text past the buffer's int-sized limit is left out, never a crash.
  void insertBytes(int pos, std::string_view bytes);

  // FLTK sizes the text, the text added and the gap together in an int (and one more byte
  // for a copy of the text): how many of adding bytes fit after length, and the gap to keep,
  // half the text as preferred but never so large that the sum passes that limit.
  struct Room {
    std::size_t take;
    int gap;
  };
  static Room RoomFor(int length, std::size_t adding, int preferredGap);
};

// Single-line text box; a mouse click (not the keyboard's focus) reports through the callback.
class TextInput : public Native<Fl_Input>, public TextBoxBase {
 public:
  TextInput(WindowBase& window, const ControlSpec& spec, const Placement& at);
  int handle(int event) override;
  std::string text() const override;
  void setText(std::string_view text) override;

 protected:
  Range selection() const override;
  void replaceRange(Range range, std::string_view text) override;
  std::size_t lineStart(std::size_t pos) const override;
  std::size_t length() const override { return static_cast<std::size_t>(size()); }
  void dropFront(std::size_t) override {}  // a single-line box keeps all it is given
};

// Holds the editor's buffer in a base class, so it outlives the display's own destructor,
// which still detaches from it.
struct BufferHolder {
  GrowingBuffer store;
};

// The multi-line text box. Long lines wrap at the box's width, so only the vertical scroll
// bar is ever needed, as in a multi-line text box on Windows.
class TextEditor : private BufferHolder, public Native<Fl_Text_Editor>, public TextBoxBase {
 public:
  TextEditor(WindowBase& window, const ControlSpec& spec, const Placement& at);
  // Tab moves to the next control, as in a multi-line text box on Windows.
  int handle(int event) override;
  void resize(int x, int y, int w, int h) override;
  std::string text() const override;
  void setText(std::string_view text) override;

 protected:
  // Output only: a click in it reports nothing.
  void userActed() override {}
  std::size_t length() const override { return static_cast<std::size_t>(store.length()); }
  std::size_t lineStart(std::size_t pos) const override;
  std::size_t characterStart(std::size_t pos) const override;
  Range selection() const override;
  void replaceRange(Range range, std::string_view text) override;
  void dropFront(std::size_t count) override;
  void scrollToCaret() override { show_insert_position(); }

 private:
  void wrapAtWidth(int width);
};

// A single-selection list. Reports through the callback when the user changes the selection
// (mouse or keyboard) and, with doubleClicked() set, when an entry is double-clicked.
class SelectBrowser : public Native<Fl_Hold_Browser> {
 public:
  SelectBrowser(WindowBase& window, const ControlSpec& spec, const Placement& at);
  int handle(int event) override;
  bool doubleClicked() const { return doubleClicked_; }

 private:
  bool doubleClicked_ = false;
};

class ListControl : public SelectBrowser, public ListBoxBase {
 public:
  using SelectBrowser::SelectBrowser;
  int listCount() const override { return Fl_Hold_Browser::size(); }
  int listIndex() const override { return Fl_Hold_Browser::value() - 1; }

 protected:
  void nativeAdd(std::string_view text) override { AddListLine(*this, text); }
  void nativeRemove(int index) override { Fl_Hold_Browser::remove(index + 1); }
  void nativeClear() override { Fl_Hold_Browser::clear(); }
  void nativeSelect(int index) override { SelectLine(*this, index); }
  std::string nativeItem(int index) const override { return ListLine(*this, index + 1); }
};

// The file browser's lists: what they hold is decided in ui/file_browser.h; these show it.
class FileListControl : public SelectBrowser, public BrowserFiles {
 public:
  FileListControl(WindowBase& window, const ControlSpec& spec, const Placement& at);

 protected:
  void showFiles(const std::vector<std::string>& files) override;
  void selectLine(int index) override { SelectLine(*this, index); }
  int selectedLine() const override { return Fl_Hold_Browser::value() - 1; }
  // A double-click comes after the click of its first press, as on Windows.
  void userActed() override { raise(doubleClicked() ? Event::DblClick : Event::Click); }
};

// The directory list: highlighting an entry changes nothing; a double-click or Enter opens it.
class DirListControl : public Native<Fl_Hold_Browser>, public BrowserDirs {
 public:
  DirListControl(WindowBase& window, const ControlSpec& spec, const Placement& at);
  int handle(int event) override;

 protected:
  void userActed() override { userOpened(openedLine_ - 1); }
  void changed() override { raise(Event::Change); }
  void showDirectories(const std::vector<platform::DirEntry>& entries) override;

 private:
  int openedLine_ = 0;
};

// The drive list. Drive names are shown as they are ('/', '&' and '@' included). Each time the
// user opens the list, the drives are listed again first, so a volume mounted meanwhile appears.
class DriveChoice : public Native<Fl_Choice>, public BrowserDrives {
 public:
  DriveChoice(WindowBase& window, const ControlSpec& spec, const Placement& at);
  // Shows drives with line selected (-1: none).
  void setDrives(const std::vector<std::string>& drives, int selected = -1);
  int handle(int event) override;

 protected:
  void userActed() override { userPicked(Fl_Choice::value()); }
  void changed() override { raise(Event::Change); }
  void showDrives(const std::vector<std::string>& drives, int selected) override {
    setDrives(drives, selected);
  }

 private:
  std::vector<std::string> labels_;
  std::vector<Fl_Menu_Item> items_;
};

// Creates the control's widget inside Fl_Group::current(), which owns it. A Frame's widget is
// an Fl_Group that the caller fills with the frame's controls.
WidgetControl* CreateControl(WindowBase& window, const ControlSpec& spec, const Placement& where);

}  // namespace ui::fltk
