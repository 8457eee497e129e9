#include "ui/fltk/fltk_controls.h"

#include <FL/fl_draw.H>
#include <algorithm>

#include "ui/fltk/fltk_fonts.h"

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

void SelectLine(Fl_Browser& list, int index) {
  if (index < 0 || index >= list.size()) {
    list.deselect();
    return;
  }
  list.value(index + 1);
  if (!list.displayed(index + 1)) list.middleline(index + 1);
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

}  // namespace

bool RefusesInput(const Fl_Widget& widget, int event) {
  if (!IsUserInput(event)) return false;
  return !widget.active_r();
}

// --- WidgetControl ---------------------------------------------------------------------------

WidgetControl::WidgetControl(WindowBase& window, const ControlSpec& spec, Fl_Widget& widget)
    : window_(window), spec_(spec), name_(spec.name), widget_(widget) {
  widget_.callback(
      [](Fl_Widget*, void* self) { static_cast<WidgetControl*>(self)->userActed(); }, this);
}

void WidgetControl::setEnabled(bool on) {
  if (on)
    widget_.activate();
  else
    widget_.deactivate();
}

// --- Label ---------------------------------------------------------------------------------

namespace {

Fl_Align LabelAlign(const ControlSpec& spec) {
  Fl_Align side = spec.align == Align::Centre ? FL_ALIGN_TOP : FL_ALIGN_TOP_LEFT;
  return side | FL_ALIGN_INSIDE | FL_ALIGN_WRAP;
}

}  // namespace

Label::Label(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : CaptionedWidget<Fl_Box>(window, spec, at), link_(spec.kind == Kind::LinkLabel) {
  clear_visible_focus();
  box(spec.border ? FL_BORDER_BOX : FL_FLAT_BOX);
  align(LabelAlign(spec));
}

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

Picture::Picture(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : Native<Fl_Box>(window, spec, at), pixels_(Stretch(MakeLogo(), at.w, at.h)) {
  clear_visible_focus();
  if (!pixels_.pixels.empty())
    image_ = std::make_unique<Fl_RGB_Image>(pixels_.pixels.data(), pixels_.width, pixels_.height, 3);
}

void Picture::draw() {
  if (image_) image_->draw(x(), y());
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

Frame::Frame(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : CaptionedWidget<Fl_Group>(window, spec, at) {
  box(FL_FLAT_BOX);
  // Inside, so the parent does not draw the caption a second time above the frame.
  align(FL_ALIGN_INSIDE | FL_ALIGN_TOP_LEFT);
  resizable(nullptr);
  end();  // the window opens it again for the frame's own controls
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

// --- Check and option boxes ----------------------------------------------------------------

CheckControl::CheckControl(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : CaptionedWidget<Fl_Check_Button>(window, spec, at) {}

OptionControl::OptionControl(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : CaptionedWidget<Fl_Round_Button>(window, spec, at), OptionButtonBase(window, spec) {
  type(FL_RADIO_BUTTON);
}

void OptionControl::showValue(bool selected) {
  if (selected)
    setonly();
  else
    Fl_Round_Button::value(0);
}

void OptionControl::userActed() {
  userSelected();
  raise(Event::Click);
}

// --- ScrollBar -----------------------------------------------------------------------------

ScrollControl::ScrollControl(WindowBase& window, const ControlSpec& spec, const Placement& at)
    : Native<Fl_Scrollbar>(window, spec, at), ScrollBarBase(window, spec) {
  type(FL_VERTICAL);
  linesize(1);
  when(FL_WHEN_CHANGED);
  bounds(spec.minimum, spec.maximum);
  Fl_Scrollbar::value(spec.minimum);
  // The thumb takes a share of the track as one step does of the range.
  int steps = high() - low() + 1;
  slider_size(std::max(0.1, 1.0 / steps));
}

ScrollControl::~ScrollControl() { Fl::remove_timeout(Repeat, this); }

void ScrollControl::showValue(int value) {
  Fl_Scrollbar::value(value);
  redraw();
}

void ScrollControl::step(int delta) {
  const int now = static_cast<int>(Fl_Scrollbar::value());
  const int target = std::clamp(now + delta, low(), high());
  if (target == now) return;
  Fl_Scrollbar::value(target);
  redraw();
  do_callback();
}

void ScrollControl::Repeat(void* self) {
  auto* bar = static_cast<ScrollControl*>(self);
  if (bar->pressed_ == 0) return;
  Fl_Widget_Tracker alive(bar);
  bar->step(bar->pressed_);
  if (!alive.deleted()) Fl::repeat_timeout(0.05, Repeat, self);
}

int ScrollControl::handle(int event) {
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
          step(low() - static_cast<int>(Fl_Scrollbar::value()));
          return 1;
        case FL_End:
          step(high() - static_cast<int>(Fl_Scrollbar::value()));
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

void ScrollControl::draw() {
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

// --- Creating them from the table ------------------------------------------------------------

namespace {

Fl_Color ToFl(std::uint32_t rgb) {
  return fl_rgb_color(static_cast<uchar>(rgb >> 16), static_cast<uchar>(rgb >> 8),
                      static_cast<uchar>(rgb));
}

void ApplyFont(Fl_Widget& w, const ControlSpec& spec, int dpi) {
  Face face = FaceFor(spec.font, dpi);
  w.labelfont(face.font);
  w.labelsize(face.size);
  if (spec.foreColour != kSystemColour) w.labelcolor(ToFl(spec.foreColour));
}

template <class W>
void ApplyTextFont(W& w, const ControlSpec& spec, int dpi) {
  ApplyFont(w, spec, dpi);
  Face face = FaceFor(spec.font, dpi);
  w.textfont(face.font);
  w.textsize(face.size);
  if (spec.foreColour != kSystemColour) w.textcolor(ToFl(spec.foreColour));
}

template <class C>
C* Make(WindowBase& window, const ControlSpec& spec, const Placement& at) {
  return new C(window, spec, at);
}

// With its caption, once the widget has its font.
template <class C>
C* MakeCaptioned(WindowBase& window, const ControlSpec& spec, const Placement& at) {
  C* control = Make<C>(window, spec, at);
  ApplyFont(*control, spec, at.dpi);
  control->setCaption(spec.caption);
  return control;
}

template <class C>
C* MakeText(WindowBase& window, const ControlSpec& spec, const Placement& at) {
  C* control = Make<C>(window, spec, at);
  ApplyTextFont(*control, spec, at.dpi);
  return control;
}

}  // namespace

WidgetControl* CreateControl(WindowBase& window, const ControlSpec& spec, const Placement& at) {
  switch (spec.kind) {
    case Kind::Label:
    case Kind::LinkLabel: return MakeCaptioned<Label>(window, spec, at);
    case Kind::Button: {
      auto* button = MakeCaptioned<CaptionedWidget<Fl_Button>>(window, spec, at);
      button->align(FL_ALIGN_CENTER | FL_ALIGN_WRAP);
      return button;
    }
    case Kind::Frame: return MakeCaptioned<Frame>(window, spec, at);
    case Kind::CheckBox: return MakeCaptioned<CheckControl>(window, spec, at);
    case Kind::OptionButton: return MakeCaptioned<OptionControl>(window, spec, at);
    case Kind::TextBox: {
      auto* input = MakeText<TextInput>(window, spec, at);
      input->setText(spec.caption);
      return input;
    }
    case Kind::MultiLineText: {
      auto* editor = MakeText<TextEditor>(window, spec, at);
      editor->setText(spec.caption);
      return editor;
    }
    case Kind::ListBox: return MakeText<ListControl>(window, spec, at);
    case Kind::FileList: return MakeText<FileListControl>(window, spec, at);
    case Kind::DirList: return MakeText<DirListControl>(window, spec, at);
    case Kind::DriveList: return MakeText<DriveChoice>(window, spec, at);
    case Kind::VScrollBar: return Make<ScrollControl>(window, spec, at);
    case Kind::Image: return Make<Picture>(window, spec, at);
  }
  return nullptr;
}

}  // namespace ui::fltk
