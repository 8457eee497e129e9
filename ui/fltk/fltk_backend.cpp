// The FLTK backend: windows from tables, the message box, and the event loop services the
// captured process runner waits with.
#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Button.H>
#include <FL/fl_draw.H>
#include <algorithm>
#include <chrono>
#include <deque>

#include "ui/fltk/fltk_fonts.h"
#include "ui/fltk/fltk_controls.h"
#include "ui/fltk/fltk_window.h"
#include "ui/window.h"

namespace ui {

namespace fltk {

namespace {

constexpr int kMessageMaxWidth = 420;
constexpr double kForever = 1e20;

void CloseMessage(Fl_Widget* button, void*) { button->window()->hide(); }

// One OK button, no icon, modal to the whole program until dismissed.
void ShowMessage(std::string_view text, std::string_view title) {
  Face face = FaceFor(kDefaultFont, DisplayDpi());
  std::string shown = LabelText(text);
  fl_font(face.font, face.size);
  int textW = 0;
  int textH = 0;
  fl_measure(shown.c_str(), textW, textH);
  if (textW > kMessageMaxWidth) {
    textW = kMessageMaxWidth;
    fl_measure(shown.c_str(), textW, textH);
  }
  // FLTK pads a left-aligned label by 3 pixels a side.
  const int w = std::max(textW + 46, 180);
  const int h = textH + 75;

  Fl_Group* outer = Fl_Group::current();
  Fl_Group::current(nullptr);
  Fl_Double_Window box(w, h);
  box.copy_label(std::string(title).c_str());
  Fl_Box message(20, 18, w - 40, textH);
  message.copy_label(shown.c_str());
  message.labelfont(face.font);
  message.labelsize(face.size);
  message.align(FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
  Fl_Button ok((w - 90) / 2, h - 40, 90, 26, "OK");
  ok.shortcut(FL_Enter);
  ok.labelfont(face.font);
  ok.labelsize(face.size);
  ok.callback(CloseMessage);
  box.end();
  Fl_Group::current(outer);

  box.set_modal();
  int sx = 0, sy = 0, sw = 0, sh = 0;
  Fl::screen_work_area(sx, sy, sw, sh);
  box.position(sx + (sw - w) / 2, sy + (sh - h) / 2);
  box.show();
  ok.take_focus();
  while (box.shown()) Fl::wait();
}

class FltkBackend final : public Backend {
 public:
  FltkBackend() : activation_([this](Handler fn) { post(std::move(fn)); }) {}
  ~FltkBackend() override { Fl::remove_timeout(RunPosted, this); }

  std::unique_ptr<Window> createWindow(const WindowSpec& spec) override {
    return std::make_unique<FltkWindow>(spec, activation_, DisplayDpi());
  }

  void messageBox(std::string_view text, std::string_view title) override {
    ShowMessage(text, title);
  }

  void post(Handler fn) override {
    posted_.push_back(std::move(fn));
    if (posted_.size() == 1) Fl::add_timeout(0.0, RunPosted, this);
  }

  // The program ends with its last window.
  void run() override {
    while (Fl::first_window()) Fl::wait();
  }

  // While a tool streams output the runner asks for this before every 10 KiB read. Redrawing
  // the output box that often would make the box, not the tool, set the pace; at most one
  // round every 10 ms is still far quicker than anyone can notice.
  void processPendingEvents() override {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastCheck_ < std::chrono::milliseconds(10)) return;
    lastCheck_ = now;
    Fl::check();
  }

  void waitReadable(int fd) override {
    bool ready = false;
    Fl::add_fd(fd, FL_READ | FL_EXCEPT, FdReady, &ready);
    // Fl::wait() without a time returns at once when no window is shown; this one blocks.
    while (!ready) Fl::wait(kForever);
    Fl::remove_fd(fd);
  }

 private:
  // Runs what was posted until now; what those handlers post runs on a later round.
  static void RunPosted(void* self) {
    auto* backend = static_cast<FltkBackend*>(self);
    std::deque<Handler> due;
    due.swap(backend->posted_);
    for (Handler& fn : due)
      if (fn) fn();
  }

  // Readiness stays set while the data is unread, so the descriptor is dropped at once: a
  // handler that runs a nested wait on another pipe must not spin on this one meanwhile.
  static void FdReady(FL_SOCKET fd, void* flag) {
    *static_cast<bool*>(flag) = true;
    Fl::remove_fd(fd);
  }

  std::chrono::steady_clock::time_point lastCheck_{};
  Activation activation_;
  std::deque<Handler> posted_;
};

}  // namespace

}  // namespace fltk

std::unique_ptr<Backend> CreateNativeBackend() { return std::make_unique<fltk::FltkBackend>(); }

}  // namespace ui
