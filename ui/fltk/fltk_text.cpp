// The single-line and the multi-line text box: the native part of ui::TextBoxBase.
#include <algorithm>
#include <cstdlib>
#include <limits>

#include "ui/fltk/fltk_controls.h"
#include "ui/output_filter.h"

namespace ui::fltk {

// --- TextInput -----------------------------------------------------------------------------

TextInput::TextInput(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : Native<Fl_Input>(window, spec, at), TextBoxBase(spec) {
  when(FL_WHEN_NEVER);
}

int TextInput::handle(int event) {
  if (RefusesInput(*this, event)) return 0;
  bool click = event == FL_RELEASE && Fl::event_button() == FL_LEFT_MOUSE;
  Fl_Widget_Tracker alive(this);
  int used = Fl_Input::handle(event);
  if (click && !alive.deleted()) do_callback();
  return used;
}

std::string TextInput::text() const { return std::string(Fl_Input::value(), size()); }

// FLTK leaves the caret after the text; a text box whose text is assigned has it at the start.
void TextInput::setText(std::string_view text) {
  Fl_Input::value(text.data(), static_cast<int>(text.size()));
  position(0);
}

TextBoxBase::Range TextInput::selection() const {
  const int from = std::min(position(), mark());
  const int to = std::max(position(), mark());
  return {static_cast<std::size_t>(from), static_cast<std::size_t>(to)};
}

void TextInput::replaceRange(Range range, std::string_view text) {
  replace(static_cast<int>(range.start), static_cast<int>(range.end), text.data(),
          static_cast<int>(text.size()));
}

std::size_t TextInput::lineStart(std::size_t pos) const {
  return LineStart(std::string_view(Fl_Input::value(), static_cast<std::size_t>(size())), pos);
}

// --- GrowingBuffer -------------------------------------------------------------------------

void GrowingBuffer::insertBytes(int pos, std::string_view bytes) {
  // The buffer cannot hold NUL characters; the rest goes in unchanged.
  std::string text(bytes);
  text.erase(std::remove(text.begin(), text.end(), '\0'), text.end());
  Room room = RoomFor(length(), text.size(), mPreferredGapSize);
  text.resize(room.take);
  if (text.empty()) return;
  mPreferredGapSize = room.gap;
  insert(pos, text.c_str());
}

GrowingBuffer::Room GrowingBuffer::RoomFor(int length, std::size_t adding, int preferredGap) {
  const long long limit = std::numeric_limits<int>::max() - 1LL;  // one byte for the copy's NUL
  long long spare = std::max(0LL, limit - length);
  long long take = std::min(static_cast<long long>(adding), spare);
  // A gap as large as half the text makes the moves of the text, as it grows, geometric.
  long long gap = std::max<long long>(preferredGap, length / 2);
  gap = std::clamp(gap, 0LL, spare - take);
  return {static_cast<std::size_t>(take), static_cast<int>(gap)};
}

// --- TextEditor ----------------------------------------------------------------------------

TextEditor::TextEditor(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : Native<Fl_Text_Editor>(window, spec, at), TextBoxBase(spec) {
  buffer(&store);
  when(FL_WHEN_NEVER);
  wrapAtWidth(at.w);
}

// Wrapping at a pixel width rather than at the widget's bounds: at its bounds, FLTK counts the
// lines of the whole text again at every edit, and appending output grows slower the more
// the box holds. The width is the text area's beside the vertical scroll bar.
void TextEditor::wrapAtWidth(int width) {
  constexpr int kTextMargins = 8;  // FLTK's left and right margins of the text, and a spare pixel
  const int textWidth = width - Fl::box_dw(box()) - scrollbar_width() - kTextMargins;
  wrap_mode(WRAP_AT_PIXEL, std::max(1, textWidth));
}

void TextEditor::resize(int x, int y, int w, int h) {
  const bool widthChanged = w != this->w();
  Native<Fl_Text_Editor>::resize(x, y, w, h);
  if (widthChanged) wrapAtWidth(w);
}

int TextEditor::handle(int event) {
  if (event == FL_KEYBOARD && Fl::event_key() == FL_Tab && !(Fl::event_state() & FL_CTRL))
    return 0;
  return Native<Fl_Text_Editor>::handle(event);
}

std::string TextEditor::text() const {
  char* copy = store.text();
  std::string result(copy);
  free(copy);
  return result;
}

void TextEditor::setText(std::string_view text) {
  store.remove(0, store.length());
  store.insertBytes(0, text);
  insert_position(0);
}

TextBoxBase::Range TextEditor::selection() const {
  int start = insert_position();
  int end = start;
  // FLTK 1.3 reads the selection only through a non-const call.
  if (store.selected()) const_cast<GrowingBuffer&>(store).selection_position(&start, &end);
  return {static_cast<std::size_t>(start), static_cast<std::size_t>(end)};
}

void TextEditor::replaceRange(Range range, std::string_view text) {
  const int start = static_cast<int>(range.start);
  if (range.end > range.start) store.remove(start, static_cast<int>(range.end));
  const int before = store.length();
  store.insertBytes(start, text);
  insert_position(start + (store.length() - before));
}

std::size_t TextEditor::lineStart(std::size_t pos) const {
  return static_cast<std::size_t>(store.line_start(static_cast<int>(pos)));
}

// The display moves the caret and the selection with the text it drops.
void TextEditor::dropFront(std::size_t count) {
  // Dropped output is not kept for undo: that copy would be as large as what it frees.
  store.canUndo(0);
  store.remove(0, static_cast<int>(count));
  store.canUndo(1);
}

std::size_t TextEditor::characterStart(std::size_t pos) const {
  return static_cast<std::size_t>(store.utf8_align(static_cast<int>(pos)));
}

}  // namespace ui::fltk
