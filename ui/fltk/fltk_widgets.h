// FLTK widgets adjusted to behave like the controls the window tables describe: what they
// report (through do_callback) and which input they refuse. They know nothing of the window
// layer's handlers; the controls in fltk_controls.h turn their callbacks into events.
#pragma once

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Group.H>
#include <FL/Fl_Hold_Browser.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Text_Buffer.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/Fl_Text_Editor.H>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/logo.h"

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

// Whether the widget must refuse event: nothing takes input while the widget or its window is
// disabled.
bool RefusesInput(const Fl_Widget& widget, int event);

// Every widget of a window derives from one of these.
template <class W>
class Guarded : public W {
 public:
  using W::W;
  int handle(int event) override {
    if (RefusesInput(*this, event)) return 0;
    return W::handle(event);
  }
};

// A label. A click reports through the callback; a link draws its text underlined and shows
// the hand pointer.
class Label : public Guarded<Fl_Box> {
 public:
  Label(int x, int y, int w, int h);
  void setLink(bool on) { link_ = on; }
  int handle(int event) override;
  void draw() override;

 private:
  bool link_ = false;
};

// The logo, stretched to the widget's size once, when created.
class Picture : public Guarded<Fl_Box> {
 public:
  Picture(int x, int y, int w, int h);
  void draw() override;

 private:
  RgbImage pixels_;
  std::unique_ptr<Fl_RGB_Image> image_;
};

// Single-line text box; a mouse click (not the keyboard's focus) reports through the callback.
class TextInput : public Guarded<Fl_Input> {
 public:
  using Guarded<Fl_Input>::Guarded;
  int handle(int event) override;
};

// The group that holds a window's controls. Tab past the last control (Shift+Tab before the
// first) wraps around, as it does on Windows; FLTK's own navigation stops there.
class ControlArea : public Fl_Group {
 public:
  ControlArea(int x, int y, int w, int h);
  int handle(int event) override;
};

// A group box: an etched frame with its caption set into the top edge.
class Frame : public Guarded<Fl_Group> {
 public:
  Frame(int x, int y, int w, int h);
  void draw() override;
};

// A vertical scroll bar. Too short for a thumb, it shows just its two arrows, as a 17-pixel
// slot selector does; each arrow click or arrow key moves one step, held arrows repeat.
// Reports every change of value through the callback, never a click that changes nothing.
class ArrowScrollBar : public Guarded<Fl_Scrollbar> {
 public:
  ArrowScrollBar(int x, int y, int w, int h);
  ~ArrowScrollBar() override;
  int handle(int event) override;
  void draw() override;
  bool compact() const { return h() < 3 * w(); }
  // Moves by delta steps within the range; true when the value changed.
  bool step(int delta);

 private:
  static void Repeat(void* self);
  int pressed_ = 0;  // -1 up arrow held, +1 down arrow held
};

// A single-selection list. Reports through the callback when the user changes the selection
// (mouse or keyboard) and, with doubleClicked() set, when an entry is double-clicked.
class SelectBrowser : public Guarded<Fl_Hold_Browser> {
 public:
  SelectBrowser(int x, int y, int w, int h);
  int handle(int event) override;
  bool doubleClicked() const { return doubleClicked_; }

 private:
  bool doubleClicked_ = false;
};

// The directory list: highlighting an entry changes nothing; a double-click or Enter opens
// it and reports through the callback, with openedLine() the entry opened.
class DirBrowser : public Guarded<Fl_Hold_Browser> {
 public:
  DirBrowser(int x, int y, int w, int h);
  int handle(int event) override;
  int openedLine() const { return openedLine_; }

 private:
  int openedLine_ = 0;
};

// The drive list. Drive names are shown as they are ('/', '&' and '@' included). Each time the
// user opens the list, the opening hook runs first, so the control can list the drives again
// and a volume mounted meanwhile appears.
class DriveChoice : public Guarded<Fl_Choice> {
 public:
  DriveChoice(int x, int y, int w, int h);
  // Shows drives with line selected (-1: none).
  void setDrives(const std::vector<std::string>& drives, int selected = -1);
  void onOpening(std::function<void()> hook) { opening_ = std::move(hook); }
  int handle(int event) override;

 private:
  std::vector<std::string> labels_;
  std::vector<Fl_Menu_Item> items_;
  std::function<void()> opening_;
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

// Holds the editor's buffer in a base class, so it outlives the display's own destructor,
// which still detaches from it.
struct BufferHolder {
  GrowingBuffer store;
};

// The multi-line text box. Long lines wrap at the box's width, so only the vertical scroll
// bar is ever needed, as in a multi-line text box on Windows.
class TextEditor : private BufferHolder, public Guarded<Fl_Text_Editor> {
 public:
  TextEditor(int x, int y, int w, int h);
  GrowingBuffer& text() { return store; }
  // Tab moves to the next control, as in a multi-line text box on Windows.
  int handle(int event) override;
  void resize(int x, int y, int w, int h) override;

 private:
  void wrapAtWidth(int width);
};

}  // namespace ui::fltk
