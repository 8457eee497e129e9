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
#include <memory>
#include <string>
#include <vector>

#include "ui/fltk/fltk_fonts.h"
#include "ui/fltk/fltk_controls.h"
#include "ui/fltk/fltk_window.h"
#include "ui/window.h"

namespace ui {

namespace fltk {

namespace {

constexpr int kMessageMaxWidth = 420;

// One button of a message box: its index, and where the index of the button pressed goes.
struct MessageButton {
  int index;
  int* pressed;
};

void CloseMessage(Fl_Widget* button, void* data) {
  const auto* which = static_cast<const MessageButton*>(data);
  *which->pressed = which->index;
  button->window()->hide();
}

// Buttons side by side at the bottom, no icon, modal to the whole program until dismissed.
// Enter presses the default button, which has the focus; Escape and the close button close the
// box. Returns the index of the button pressed, -1 when the box was closed.
int ShowMessage(std::string_view text, std::string_view title,
                const std::vector<std::string>& buttons, std::size_t defaultButton) {
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
  constexpr int kButtonW = 90;
  constexpr int kButtonGap = 10;
  const int buttonsW = static_cast<int>(buttons.size()) * (kButtonW + kButtonGap) - kButtonGap;
  const int w = std::max({textW + 46, 180, buttonsW + 40});
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
  int pressed = -1;  // stays so when the box is closed
  std::vector<MessageButton> answers;
  for (std::size_t i = 0; i < buttons.size(); ++i) answers.push_back({static_cast<int>(i), &pressed});
  std::vector<std::unique_ptr<Fl_Button>> buttonWidgets;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const int x = (w - buttonsW) / 2 + static_cast<int>(i) * (kButtonW + kButtonGap);
    auto button = std::make_unique<Fl_Button>(x, h - 40, kButtonW, 26);
    button->copy_label(buttons[i].c_str());
    if (i == defaultButton) button->shortcut(FL_Enter);
    button->labelfont(face.font);
    button->labelsize(face.size);
    button->callback(CloseMessage, &answers[i]);
    buttonWidgets.push_back(std::move(button));
  }
  box.end();
  Fl_Group::current(outer);

  box.set_modal();
  int sx = 0, sy = 0, sw = 0, sh = 0;
  Fl::screen_work_area(sx, sy, sw, sh);
  box.position(sx + (sw - w) / 2, sy + (sh - h) / 2);
  box.show();
  if (defaultButton < buttonWidgets.size()) buttonWidgets[defaultButton]->take_focus();
  while (box.shown()) Fl::wait();
  // The buttons go before the box, which would otherwise delete them as its children.
  for (auto& button : buttonWidgets) box.remove(button.get());
  return pressed;
}

class FltkBackend final : public Backend {
 public:
  FltkBackend() : activation_([this](Handler fn) { post(std::move(fn)); }) {}
  ~FltkBackend() override { Fl::remove_timeout(RunPosted, this); }

  std::unique_ptr<Window> createWindow(const WindowSpec& spec) override {
    return std::make_unique<FltkWindow>(spec, activation_, DisplayDpi());
  }

  void messageBox(std::string_view text, std::string_view title) override {
    ShowMessage(text, title, {"OK"}, 0);
  }

  bool askYesNo(std::string_view text, std::string_view title) override {
    return ShowMessage(text, title, {"Yes", "No"}, /*defaultButton=*/1) == 0;
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

  void waitForOutput(exec::PipeEnd fd) override {
    bool ready = false;
    Fl::add_fd(fd, FL_READ | FL_EXCEPT, FdReady, &ready);
    // Returns after the events of one wake-up: the runner looks at a stop request then.
    Fl::wait(exec::kWaitSliceMs / 1000.0);
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
