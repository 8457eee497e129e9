#include "ui/fltk/fltk_widgets.h"

#include <FL/fl_draw.H>
#include <algorithm>
#include <limits>

namespace ui::fltk {

std::string LabelText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '@') out += '@';
    out += c;
  }
  return out;
}

std::string MenuText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '@' || c == '&') out += c;
    out += c;
  }
  return out;
}

namespace {
constexpr std::string_view kLiteralLine = "@.";
}  // namespace

void AddListLine(Fl_Browser& list, std::string_view text) {
  std::string line(kLiteralLine);
  line += text;
  list.add(line.c_str());
}

std::string ListLine(const Fl_Browser& list, int line) {
  const char* text = list.text(line);
  if (!text) return {};
  std::string_view shown(text);
  if (shown.substr(0, kLiteralLine.size()) == kLiteralLine) shown.remove_prefix(kLiteralLine.size());
  return std::string(shown);
}

namespace {

bool IsUserInput(int event) {
  switch (event) {
    case FL_PUSH:
    case FL_DRAG:
    case FL_RELEASE:
    case FL_KEYBOARD:
    case FL_KEYUP:
    case FL_SHORTCUT:
    case FL_FOCUS:
    case FL_PASTE:
    case FL_MOUSEWHEEL:
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE:
      return true;
    default:
      return false;
  }
}

bool IsEnter(int key) { return key == FL_Enter || key == FL_KP_Enter; }

}  // namespace

bool RefusesInput(const Fl_Widget& widget, int event) {
  if (!IsUserInput(event)) return false;
  return !widget.active_r();
}

// --- Label ---------------------------------------------------------------------------------

Label::Label(int x, int y, int w, int h) : Guarded<Fl_Box>(x, y, w, h) { clear_visible_focus(); }

int Label::handle(int event) {
  if (RefusesInput(*this, event)) return 0;
  switch (event) {
    case FL_PUSH:
      return Fl::event_button() == FL_LEFT_MOUSE ? 1 : 0;
    case FL_RELEASE:
      if (Fl::event_inside(this)) do_callback();
      return 1;
    case FL_ENTER:
      if (!link_) return 0;
      window()->cursor(FL_CURSOR_HAND);
      return 1;
    case FL_LEAVE:
      if (!link_) return 0;
      window()->cursor(FL_CURSOR_DEFAULT);
      return 1;
    default:
      return Guarded<Fl_Box>::handle(event);
  }
}

void Label::draw() {
  // FLTK pads left-aligned labels by 3 pixels a side; these sit right at their bounds, so a
  // caption wraps where it does on Windows.
  draw_box();
  const int left = x() + Fl::box_dx(box());
  const int top = y() + Fl::box_dy(box());
  const int width = w() - Fl::box_dw(box());
  draw_label(left, top, width, h() - Fl::box_dh(box()), align());
  if (!link_ || !label() || !*label()) return;
  fl_font(labelfont(), labelsize());
  int textW = 0;
  int textH = 0;
  fl_measure(label(), textW, textH);
  textW = std::min(textW, width);
  const int start = (align() & FL_ALIGN_LEFT) ? left : left + (width - textW) / 2;
  const int base = top + fl_height() - fl_descent() + 1;
  fl_color(active_r() ? labelcolor() : fl_inactive(labelcolor()));
  fl_xyline(start, base, start + textW - 1);
}

// --- Picture -------------------------------------------------------------------------------

Picture::Picture(int x, int y, int w, int h)
    : Guarded<Fl_Box>(x, y, w, h), pixels_(Stretch(MakeLogo(), w, h)) {
  clear_visible_focus();
  if (!pixels_.pixels.empty())
    image_ = std::make_unique<Fl_RGB_Image>(pixels_.pixels.data(), pixels_.width, pixels_.height, 3);
}

void Picture::draw() {
  if (image_) image_->draw(x(), y());
}

// --- TextInput -----------------------------------------------------------------------------

int TextInput::handle(int event) {
  if (RefusesInput(*this, event)) return 0;
  bool click = event == FL_RELEASE && Fl::event_button() == FL_LEFT_MOUSE;
  Fl_Widget_Tracker alive(this);
  int used = Fl_Input::handle(event);
  if (click && !alive.deleted()) do_callback();
  return used;
}

// --- ControlArea -------------------------------------------------------------------------

ControlArea::ControlArea(int x, int y, int w, int h) : Fl_Group(x, y, w, h) {
  // Enlarging a sizable window moves and resizes no control.
  resizable(nullptr);
}

int ControlArea::handle(int event) {
  int used = Fl_Group::handle(event);
  if (used || event != FL_KEYBOARD || Fl::event_key() != FL_Tab) return used;
  if (Fl::event_state() & (FL_CTRL | FL_ALT | FL_META)) return used;
  // Focusing the group picks its first control for Tab, its last for Shift+Tab.
  return Fl_Group::handle(FL_FOCUS);
}

// --- Frame ---------------------------------------------------------------------------------

Frame::Frame(int x, int y, int w, int h) : Guarded<Fl_Group>(x, y, w, h) {
  box(FL_FLAT_BOX);
  // Inside, so the parent does not draw the caption a second time above the frame.
  align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT);
  resizable(nullptr);
}

void Frame::draw() {
  if (damage() & ~FL_DAMAGE_CHILD) {
    fl_draw_box(FL_FLAT_BOX, x(), y(), w(), h(), color());
    fl_font(labelfont(), labelsize());
    int top = fl_height() / 2;
    fl_draw_box(FL_ENGRAVED_FRAME, x(), y() + top, w(), h() - top, color());
    if (label() && *label()) {
      int textW = 0;
      int textH = 0;
      fl_measure(label(), textW, textH);
      textW = std::min(textW, w() - 12);
      fl_color(color());
      fl_rectf(x() + 6, y(), textW + 4, fl_height());
      draw_label(x() + 8, y(), textW, fl_height(), FL_ALIGN_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
    }
  }
  draw_children();
}

// --- ScrollBar -----------------------------------------------------------------------------

ArrowScrollBar::ArrowScrollBar(int x, int y, int w, int h) : Guarded<Fl_Scrollbar>(x, y, w, h) {
  type(FL_VERTICAL);
  linesize(1);
  when(FL_WHEN_CHANGED);
}

ArrowScrollBar::~ArrowScrollBar() { Fl::remove_timeout(Repeat, this); }

bool ArrowScrollBar::step(int delta) {
  int low = static_cast<int>(std::min(minimum(), maximum()));
  int high = static_cast<int>(std::max(minimum(), maximum()));
  int target = std::clamp(value() + delta, low, high);
  if (target == value()) return false;
  value(target);
  redraw();
  do_callback();
  return true;
}

void ArrowScrollBar::Repeat(void* self) {
  auto* bar = static_cast<ArrowScrollBar*>(self);
  if (bar->pressed_ == 0) return;
  Fl_Widget_Tracker alive(bar);
  bar->step(bar->pressed_);
  if (!alive.deleted()) Fl::repeat_timeout(0.05, Repeat, self);
}

int ArrowScrollBar::handle(int event) {
  if (RefusesInput(*this, event)) return 0;
  // Arrow keys belong to the focused control only, never to a scroll bar elsewhere.
  if (event == FL_SHORTCUT) return 0;
  if (!compact()) return Fl_Scrollbar::handle(event);
  switch (event) {
    case FL_PUSH: {
      if (Fl::event_button() != FL_LEFT_MOUSE) return 0;
      if (Fl::visible_focus() && visible_focus()) take_focus();
      pressed_ = Fl::event_y() < y() + h() / 2 ? -1 : 1;
      redraw();
      Fl_Widget_Tracker alive(this);
      step(pressed_);
      if (!alive.deleted() && pressed_ != 0) Fl::add_timeout(0.5, Repeat, this);
      return 1;
    }
    case FL_DRAG:
      return 1;
    case FL_RELEASE:
      pressed_ = 0;
      Fl::remove_timeout(Repeat, this);
      redraw();
      return 1;
    case FL_KEYBOARD:
      switch (Fl::event_key()) {
        case FL_Up:
        case FL_Left:
        case FL_Page_Up:
          step(-1);
          return 1;
        case FL_Down:
        case FL_Right:
        case FL_Page_Down:
          step(1);
          return 1;
        case FL_Home:
          step(static_cast<int>(std::min(minimum(), maximum())) - value());
          return 1;
        case FL_End:
          step(static_cast<int>(std::max(minimum(), maximum())) - value());
          return 1;
        default:
          return 0;
      }
    case FL_FOCUS:
    case FL_UNFOCUS:
      if (!Fl::visible_focus()) return 0;
      redraw();
      return 1;
    case FL_ENTER:
    case FL_LEAVE:
      return 1;
    default:
      return 0;
  }
}

void ArrowScrollBar::draw() {
  if (!compact()) {
    Fl_Scrollbar::draw();
    return;
  }
  int upH = h() / 2;
  int downH = h() - upH;
  Fl_Color arrow = active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR);
  auto drawArrow = [&](int ay, int ah, bool pressed, bool up) {
    fl_draw_box(pressed ? FL_DOWN_BOX : FL_UP_BOX, x(), ay, w(), ah, color());
    int cx = x() + w() / 2 + (pressed ? 1 : 0);
    int cy = ay + ah / 2 + (pressed ? 1 : 0);
    int half = std::max(1, std::min(w(), ah) / 4);
    fl_color(arrow);
    if (up)
      fl_polygon(cx - half, cy + half / 2, cx + half, cy + half / 2, cx, cy - half / 2 - 1);
    else
      fl_polygon(cx - half, cy - half / 2, cx + half, cy - half / 2, cx, cy + half / 2 + 1);
  };
  drawArrow(y(), upH, pressed_ < 0, true);
  drawArrow(y() + upH, downH, pressed_ > 0, false);
  if (Fl::focus() == this) draw_focus(FL_UP_BOX, x(), y(), w(), h());
}

// --- SelectBrowser -------------------------------------------------------------------------

SelectBrowser::SelectBrowser(int x, int y, int w, int h) : Guarded<Fl_Hold_Browser>(x, y, w, h) {
  when(FL_WHEN_NEVER);
}

int SelectBrowser::handle(int event) {
  if (RefusesInput(*this, event)) return 0;
  bool doubleClick =
      event == FL_PUSH && Fl::event_button() == FL_LEFT_MOUSE && Fl::event_clicks() > 0;
  int before = value();
  Fl_Widget_Tracker alive(this);
  int used = Fl_Hold_Browser::handle(event);
  if (alive.deleted()) return used;
  if (value() != before && value() > 0) {
    doubleClicked_ = false;
    do_callback();
    if (alive.deleted()) return used;
  }
  if (!doubleClick) return used;
  void* item = find_item(Fl::event_y());
  if (!item || lineno(item) != value()) return used;
  doubleClicked_ = true;
  do_callback();
  return used;
}

// --- DirBrowser ----------------------------------------------------------------------------

DirBrowser::DirBrowser(int x, int y, int w, int h) : Guarded<Fl_Hold_Browser>(x, y, w, h) {
  when(FL_WHEN_NEVER);
}

int DirBrowser::handle(int event) {
  if (RefusesInput(*this, event)) return 0;
  if (event == FL_KEYBOARD && IsEnter(Fl::event_key())) {
    if (value() <= 0) return 0;
    openedLine_ = value();
    do_callback();
    return 1;
  }
  bool doubleClick =
      event == FL_PUSH && Fl::event_button() == FL_LEFT_MOUSE && Fl::event_clicks() > 0;
  Fl_Widget_Tracker alive(this);
  int used = Fl_Hold_Browser::handle(event);
  if (alive.deleted() || !doubleClick) return used;
  void* item = find_item(Fl::event_y());
  if (!item) return used;
  openedLine_ = lineno(item);
  do_callback();
  return used;
}

// --- DriveChoice ---------------------------------------------------------------------------

DriveChoice::DriveChoice(int x, int y, int w, int h) : Guarded<Fl_Choice>(x, y, w, h) {
  when(FL_WHEN_CHANGED);
}

void DriveChoice::setDrives(const std::vector<std::string>& drives, int selected) {
  labels_.clear();
  items_.clear();
  for (const std::string& d : drives) labels_.push_back(MenuText(d));
  for (const std::string& label : labels_) {
    Fl_Menu_Item item{};
    item.text = label.c_str();
    items_.push_back(item);
  }
  items_.push_back(Fl_Menu_Item{});  // terminator
  menu(items_.data());
  value(selected >= 0 && selected < static_cast<int>(labels_.size()) ? selected : -1);
  redraw();
}

int DriveChoice::handle(int event) {
  if (RefusesInput(*this, event)) return 0;
  bool opening = event == FL_PUSH || (event == FL_KEYBOARD && Fl::event_key() == ' ');
  if (opening && opening_) opening_();
  return Fl_Choice::handle(event);
}

// --- Text editor ---------------------------------------------------------------------------

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

TextEditor::TextEditor(int x, int y, int w, int h) : Guarded<Fl_Text_Editor>(x, y, w, h) {
  buffer(&store);
  when(FL_WHEN_NEVER);
  wrapAtWidth(w);
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
  Guarded<Fl_Text_Editor>::resize(x, y, w, h);
  if (widthChanged) wrapAtWidth(w);
}

int TextEditor::handle(int event) {
  if (event == FL_KEYBOARD && Fl::event_key() == FL_Tab && !(Fl::event_state() & FL_CTRL))
    return 0;
  return Guarded<Fl_Text_Editor>::handle(event);
}

}  // namespace ui::fltk
