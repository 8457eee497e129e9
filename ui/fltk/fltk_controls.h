// The window layer's controls on top of FLTK widgets: each one creates its widget from a
// table row and turns what the user does into the row's events.
#pragma once

#include <FL/Fl_Widget.H>
#include <memory>

#include "ui/layout.h"
#include "ui/window_base.h"

namespace ui::fltk {

// Where a control goes, in pixels of the window.
struct Placement {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
  int dpi = kBaseDpi;  // the resolution the window is laid out at; fonts follow it
};

// What every FLTK control shares: the widget, and enabling it.
class WidgetControl : public Control {
 public:
  bool enabled() const override { return widget_->active() != 0; }
  void setEnabled(bool on) override;
  Fl_Widget* widget() const { return widget_; }

 protected:
  WidgetControl(WindowBase& window, const ControlSpec& spec, Fl_Widget* widget);
  void raise(Event event);
  // The widget's callback: the user did something the control reports.
  virtual void userActed() = 0;

 private:
  WindowBase& window_;
  std::string name_;
  Fl_Widget* widget_;
};

// Creates the control and its widget inside Fl_Group::current(). A Frame's widget is an
// Fl_Group that the caller fills with the frame's controls.
std::unique_ptr<WidgetControl> CreateControl(WindowBase& window, const ControlSpec& spec,
                                             const Placement& where);

}  // namespace ui::fltk
