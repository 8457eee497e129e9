#include "ui/fltk/fltk_window.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_RGB_Image.H>
#include <FL/x.H>
#include <X11/Xatom.h>
#include <algorithm>
#include <vector>

#include "ui/fltk/fltk_controls.h"
#include "ui/logo.h"

namespace ui::fltk {

namespace {

const Fl_RGB_Image& ProgramIcon() {
  static const RgbImage pixels = MakeIcon();
  static const Fl_RGB_Image icon(pixels.pixels.data(), pixels.width, pixels.height, 3);
  return icon;
}

// The caption as ISO 8859-1, the encoding of the legacy STRING title properties; characters
// beyond it become '?'. FLTK stores its UTF-8 bytes there, which old clients show garbled.
std::string Latin1Caption(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : 4;
    if (i + static_cast<std::size_t>(length) > utf8.size()) length = 1;
    if (length == 1) {
      out += lead < 0x80 ? static_cast<char>(lead) : '?';
    } else if (length == 2) {
      const unsigned code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
      out += code < 0x100 ? static_cast<char>(code) : '?';
    } else {
      out += '?';
    }
    i += static_cast<std::size_t>(length);
  }
  return out;
}

Placement Place(const WindowSpec& spec, const ControlSpec& c, int dpi) {
  const PixelRect r = PixelBounds(spec, c, dpi);
  return {r.x, r.y, r.w, r.h, dpi};
}

void Detach(Fl_Widget& widget) {
  widget.callback(static_cast<Fl_Callback*>(nullptr), nullptr);
  Fl_Group* group = widget.as_group();
  if (!group) return;
  for (int i = 0; i < group->children(); ++i) Detach(*group->child(i));
}

}  // namespace

FltkWindow::FltkWindow(const WindowSpec& spec, Activation& activation, int dpi)
    : WindowBase(spec, activation) {
  build(spec, dpi);
}

FltkWindow::~FltkWindow() {
  // The widgets may outlive this object for a moment (FLTK deletes them from the event loop,
  // and one of them may be in the middle of its own event): they must not call back into it.
  Detach(*window_);
  window_->hide();
  Fl::delete_widget(window_);
}

void FltkWindow::build(const WindowSpec& spec, int dpi) {
  const PixelRect client = ClientPixels(spec, dpi);
  const int w = client.w;
  const int h = client.h;
  Fl_Group* outer = Fl_Group::current();
  Fl_Group::current(nullptr);

  window_ = new Fl_Double_Window(w, h);
  window_->copy_label(std::string(spec.caption).c_str());
  // The X11 class: desktops group the windows under it and match the menu entry's name.
  window_->xclass("telvo-flash");
  window_->callback(OnClose, this);

  auto* content = new ControlArea(0, 0, w, h);
  // FLTK places a group's children in window coordinates too.
  auto fill = [&](auto& self, std::string_view container) -> void {
    for (const ControlSpec* c : ChildOrder(spec, container)) {
      Placement at = Place(spec, *c, dpi);
      WidgetControl* control = CreateControl(*this, *c, at);
      if (c->kind == Kind::Frame && c->name != container) {
        auto* group = control->widget().as_group();
        group->begin();
        self(self, c->name);
        group->end();
      }
      controls_.emplace(std::string(c->name), control);
    }
  };
  fill(fill, "");
  content->end();
  window_->end();

  if (spec.sizable) {
    window_->resizable(content);
    window_->size_range(std::min(w, 100), std::min(h, 50));
  } else {
    // Window managers offer no maximize button for a window whose minimum and maximum size
    // agree; FLTK on X11 cannot remove the minimize button.
    window_->resizable(nullptr);
    window_->size_range(w, h, w, h);
  }
  if (spec.centred) {
    int sx = 0, sy = 0, sw = 0, sh = 0;
    Fl::screen_work_area(sx, sy, sw, sh);
    window_->position(sx + (sw - w) / 2, sy + (sh - h) / 2);
  }
  if (spec.hasIcon) window_->icon(&ProgramIcon());
  Fl_Group::current(outer);
}

void FltkWindow::OnClose(Fl_Widget*, void* self) {
  // FLTK closes a window on Escape; these windows close only by the close button.
  if (Fl::event() == FL_SHORTCUT && Fl::event_key() == FL_Escape) return;
  auto* window = static_cast<FltkWindow*>(self);
  if (!window->enabled()) return;
  window->requestClose();
}

bool FltkWindow::enabled() const { return window_->active() != 0; }

void FltkWindow::setEnabled(bool on) {
  if (on)
    window_->activate();
  else
    window_->deactivate();
}

Control& FltkWindow::nativeControl(std::string_view name) {
  auto it = controls_.find(name);
  if (it == controls_.end()) badControl(name);
  return *it->second;
}

Fl_Widget& FltkWindow::widget(std::string_view name) {
  auto it = controls_.find(name);
  if (it == controls_.end()) badControl(name);
  return it->second->widget();
}

void FltkWindow::nativeShow() {
  window_->show();
  if (!window_->shown() || !fl_display) return;
  const std::string title = Latin1Caption(spec().caption);
  const auto* bytes = reinterpret_cast<const unsigned char*>(title.data());
  const int length = static_cast<int>(title.size());
  for (Atom property : {XA_WM_NAME, XA_WM_ICON_NAME}) {
    XChangeProperty(fl_display, fl_xid(window_), property, XA_STRING, 8, PropModeReplace, bytes,
                    length);
  }
}

void FltkWindow::nativeFocus() {
  if (window_->shown()) window_->show();  // raises it; the window manager gives the focus
}

void FltkWindow::nativeDestroy() { window_->hide(); }

}  // namespace ui::fltk
