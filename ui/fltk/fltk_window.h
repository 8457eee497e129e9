// A window of the FLTK backend: an Fl_Double_Window built from a WindowSpec table.
#pragma once

#include <FL/Fl_Double_Window.H>
#include <map>
#include <memory>
#include <string>

#include "ui/fltk/fltk_controls.h"
#include "ui/window_base.h"

namespace ui::fltk {

class FltkWindow final : public WindowBase {
 public:
  // Laid out at dpi dots per inch.
  FltkWindow(const WindowSpec& spec, Activation& activation, int dpi = kBaseDpi);
  ~FltkWindow() override;

  bool enabled() const override;
  void setEnabled(bool on) override;

  // The toolkit's window and a control's widget, for tests and the start-up benchmark.
  Fl_Double_Window& native() { return *window_; }
  Fl_Widget& widget(std::string_view name);

 protected:
  Control& nativeControl(std::string_view name) override;
  void nativeShow() override;
  void nativeFocus() override;
  void nativeDestroy() override;

 private:
  void build(const WindowSpec& spec, int dpi);
  static void OnClose(Fl_Widget*, void* self);

  Fl_Double_Window* window_ = nullptr;
  // The widgets belong to the native window, which deletes them.
  std::map<std::string, WidgetControl*, std::less<>> controls_;
};

}  // namespace ui::fltk
