// The FLTK backend driven with simulated events. Needs an X display (ctest runs under
// xvfb-run); skipped without one.
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <FL/Fl.H>
#include <FL/Fl_Choice.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Scrollbar.H>
#include <FL/Fl_Text_Editor.H>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/form1_layout.h"
#include "control_cases.h"
#include "support/test_support.h"
#include "terminal_cases.h"
#include "ui/fltk/fltk_controls.h"
#include "ui/fltk/fltk_window.h"
#include "ui/window.h"

namespace {

using ui::Event;
using ui::fltk::FltkWindow;

void Click(Fl_Widget& w, int x, int y, int clicks = 0) {
  Fl::e_x = x;
  Fl::e_y = y;
  Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
  Fl::e_clicks = clicks;
  Fl::e_state = FL_BUTTON1;
  w.handle(FL_PUSH);
  Fl::e_state = 0;
  w.handle(FL_RELEASE);
}

void Key(Fl_Window& window, int key, const char* text = "") {
  // FLTK may rewrite the text (it retries shortcuts in the other case), so it gets a copy.
  static char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%s", text);
  Fl::e_keysym = key;
  Fl::e_state = 0;
  Fl::e_text = buffer;
  Fl::e_length = static_cast<int>(std::strlen(buffer));
  Fl::handle(FL_KEYBOARD, &window);
}

class FltkBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
    backend_ = ui::CreateNativeBackend();
  }
  FltkWindow& open(const ui::WindowSpec& spec) {
    windows_.push_back(backend_->createWindow(spec));
    return dynamic_cast<FltkWindow&>(*windows_.back());
  }
  void record(ui::Window& w, const char* name, Event event) {
    w.on(name, event, [this, name, event] { events_.push_back({name, event}); });
  }

  std::unique_ptr<ui::Backend> backend_;
  std::vector<std::unique_ptr<ui::Window>> windows_;
  std::vector<std::pair<std::string, Event>> events_;
};

// --- The controls' tables ----------------------------------------------------------------

TEST_F(FltkBackendTest, OptionButtonsFormOneGroupPerContainer) {
  FltkWindow& w = open(control_cases::kSpec);
  control_cases::RunOptionCases(w, [&](const char* name) {
    Fl_Widget& b = w.widget(name);
    Click(b, b.x() + 5, b.y() + b.h() / 2);
  });
}

// The slot selector's arrows: a click on either half, or a key while it has the focus.
TEST_F(FltkBackendTest, ScrollBarStepsOnePerArrowAndStopsAtTheEnds) {
  FltkWindow& w = open(control_cases::kSpec);
  auto& widget = static_cast<Fl_Scrollbar&>(w.widget("Bar"));
  ASSERT_TRUE(dynamic_cast<ui::fltk::ScrollControl&>(widget).compact());
  control_cases::RunScrollCases(
      w,
      [&](control_cases::Move move) {
        using control_cases::Move;
        const int x = widget.x() + widget.w() / 2;
        if (move == Move::Up || move == Move::Down) {
          Click(widget, x, move == Move::Up ? widget.y() + 2 : widget.y() + widget.h() - 2);
          return;
        }
        Fl::e_keysym = move == Move::PageUp     ? FL_Up
                       : move == Move::PageDown ? FL_Down
                       : move == Move::Top      ? FL_Home
                                                : FL_End;
        widget.handle(FL_KEYBOARD);
      },
      [&] { return static_cast<int>(widget.value()); });
}

TEST_F(FltkBackendTest, CheckBoxIsClearOrSet) {
  FltkWindow& w = open(control_cases::kSpec);
  Fl_Widget& box = w.widget("Check");
  control_cases::RunCheckCases(w, [&] { Click(box, box.x() + 5, box.y() + box.h() / 2); });
}

TEST_F(FltkBackendTest, ListBoxKeepsItsOrderAndSelection) {
  FltkWindow& w = open(control_cases::kSpec);
  control_cases::RunListCases(w.get<ui::ListBox>("List"));
}

TEST_F(FltkBackendTest, TextBoxesReplaceTheSelectionAndClearTheLine) {
  FltkWindow& w = open(control_cases::kSpec);
  auto& input = static_cast<Fl_Input&>(w.widget("Text"));
  auto& editor = dynamic_cast<ui::fltk::TextEditor&>(w.widget("Out"));
  const struct {
    const char* name;
    control_cases::Select select;
    control_cases::Caret caret;
  } boxes[] = {
      {"Text",
       [&](std::size_t from, std::size_t to) {
         input.position(static_cast<int>(to), static_cast<int>(from));
       },
       [&] { return static_cast<std::size_t>(input.position()); }},
      {"Out",
       [&](std::size_t from, std::size_t to) {
         editor.insert_position(static_cast<int>(to));
         if (from != to)
           editor.buffer()->select(static_cast<int>(std::min(from, to)),
                                   static_cast<int>(std::max(from, to)));
       },
       [&] { return static_cast<std::size_t>(editor.insert_position()); }},
  };
  for (const auto& box : boxes) {
    SCOPED_TRACE(box.name);
    control_cases::RunReplaceCases(w.get<ui::TextBox>(box.name), box.select, box.caret);
    control_cases::RunClearLineCases(w.get<ui::TextBox>(box.name), box.select, box.caret);
  }
}

// --- Closing ------------------------------------------------------------------------------

TEST_F(FltkBackendTest, EscapeNeverClosesTheCloseButtonDoesUnlessDisabled) {
  FltkWindow& w = open(app::Form1Spec());
  int unloads = 0;
  w.onUnload([&](bool&) { ++unloads; });
  w.show();
  Fl::check();

  Fl::e_keysym = FL_Escape;
  Fl::e_state = 0;
  Fl::handle(FL_SHORTCUT, &w.native());
  EXPECT_TRUE(w.loaded());
  EXPECT_TRUE(w.native().shown());

  w.setEnabled(false);
  Fl::handle(FL_CLOSE, &w.native());
  EXPECT_TRUE(w.loaded());
  EXPECT_EQ(unloads, 0);

  w.setEnabled(true);
  Fl::handle(FL_CLOSE, &w.native());
  EXPECT_FALSE(w.loaded());
  EXPECT_FALSE(w.native().shown());
  EXPECT_EQ(unloads, 1);
}

// --- Resizing -----------------------------------------------------------------------------

const ui::WindowSpec kSizableSpec{.name = "Sizable", .caption = "Sizable", .clientWidth = 6000,
                                  .clientHeight = 3000, .sizable = true,
                                  .controls = control_cases::kControls};

TEST_F(FltkBackendTest, EnlargingASizableWindowMovesNoControl) {
  FltkWindow& w = open(kSizableSpec);
  const char* names[] = {"A1", "A2", "F", "B1", "B2"};
  std::vector<std::array<int, 4>> before;
  for (const char* n : names) {
    Fl_Widget& c = w.widget(n);
    before.push_back({c.x(), c.y(), c.w(), c.h()});
  }
  w.native().resize(0, 0, w.native().w() + 200, w.native().h() + 100);
  for (std::size_t i = 0; i < std::size(names); ++i) {
    Fl_Widget& c = w.widget(names[i]);
    EXPECT_EQ((std::array<int, 4>{c.x(), c.y(), c.w(), c.h()}), before[i]) << names[i];
  }
}

// --- Focus --------------------------------------------------------------------------------

// The lowest top edge of any widget in group, its own parts included.
int LowestTop(Fl_Group& group) {
  int lowest = group.y();
  for (int i = 0; i < group.children(); ++i) {
    Fl_Widget& child = *group.child(i);
    lowest = std::max(lowest, child.y());
    if (Fl_Group* inner = child.as_group()) lowest = std::max(lowest, LowestTop(*inner));
  }
  return lowest;
}

TEST_F(FltkBackendTest, TabFollowsTheTableAndStorageHasNoWidget) {
  FltkWindow& w = open(app::Form1Spec());
  w.show();
  Fl::check();
  const ui::WindowSpec& spec = app::Form1Spec();
  std::vector<const ui::ControlSpec*> onScreen;
  for (const ui::ControlSpec& c : spec.controls) {
    int top = c.bounds.top;
    if (const ui::ControlSpec* frame = spec.find(c.container)) top += frame->bounds.top;
    if (c.tabIndex >= 0 && top < spec.clientHeight) onScreen.push_back(&c);
  }
  std::sort(onScreen.begin(), onScreen.end(),
            [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });

  Fl::focus(&w.widget("Dir1"));
  auto focused = [&]() -> std::string {
    for (const ui::ControlSpec& c : spec.controls)
      if (Fl::focus() == &w.widget(c.name)) return std::string(c.name);
    return "?";
  };
  std::vector<std::string> visited{focused()};
  for (std::size_t i = 0; i < onScreen.size(); ++i) {
    Key(w.native(), FL_Tab);
    visited.push_back(focused());
  }
  std::vector<std::string> expected;
  for (auto* c : onScreen) expected.emplace_back(c->name);
  expected.push_back(expected.front());  // wraps around
  EXPECT_EQ(visited, expected);

  // The program's storage has no widget at all: nothing of it is drawn, focused or typed
  // into, yet the program reads and writes it under its names.
  EXPECT_LT(LowestTop(w.native()), w.native().h());
  w.get<ui::TextBox>("Text4").setText("save.srm");
  EXPECT_EQ(w.get<ui::TextBox>("Text4").text(), "save.srm");
  w.get<ui::ListBox>("List2").addItem("/roms/a.bin");
  EXPECT_EQ(w.get<ui::ListBox>("List2").listCount(), 1);
}

TEST_F(FltkBackendTest, DisabledWindowTakesNoKeys) {
  FltkWindow& w = open(app::Form1Spec());
  w.show();
  Fl::check();
  Fl::focus(&w.widget("Text2"));
  w.setEnabled(false);
  Key(w.native(), 'x', "x");
  EXPECT_EQ(w.get<ui::TextBox>("Text2").text(), "378");
  w.setEnabled(true);
  Fl::focus(&w.widget("Text2"));
  Key(w.native(), FL_End);
  Key(w.native(), 'x', "x");
  EXPECT_EQ(w.get<ui::TextBox>("Text2").text(), "378x");
}

// --- Text boxes ---------------------------------------------------------------------------

TEST_F(FltkBackendTest, ToolOutputShowsAsInATerminal) {
  FltkWindow& w = open(app::Form1Spec());
  auto& editor = dynamic_cast<ui::fltk::TextEditor&>(w.widget("Text3"));
  terminal_cases::RunAll(
      w.get<ui::TextBox>("Text3"),
      [&](std::size_t from, std::size_t to) {
        editor.insert_position(static_cast<int>(to));
        if (from != to) editor.buffer()->select(static_cast<int>(from), static_cast<int>(to));
      },
      [&] { return static_cast<std::size_t>(editor.insert_position()); });
}

TEST_F(FltkBackendTest, LongLinesWrapAndTheViewFollowsTheNewestOutput) {
  FltkWindow& w = open(app::Form1Spec());
  w.show();
  auto& editor = dynamic_cast<ui::fltk::TextEditor&>(w.widget("Text3"));
  auto& out = w.get<ui::TextBox>("Text3");
  out.replaceSelection(std::string(2000, 'x') + "\n");
  for (int i = 0; i < 200; ++i) out.replaceSelection("line " + std::to_string(i) + "\n");
  out.replaceSelection("newest");
  Fl::check();
  EXPECT_GT(editor.count_lines(0, 2000, true), 10) << "the long line wrapped at the box's width";
  int x = 0;
  int y = 0;
  EXPECT_TRUE(editor.position_to_xy(editor.insert_position(), &x, &y)) << "the caret in view";
  EXPECT_FALSE(editor.position_to_xy(0, &x, &y)) << "the first line scrolled away";
}

TEST_F(FltkBackendTest, OutputBoxKeepsTheNewestOutputPastItsLimit) {
  FltkWindow& w = open(app::Form1Spec());
  auto& editor = dynamic_cast<ui::fltk::TextEditor&>(w.widget("Text3"));
  // Lines of a tool's usual length: a line that never ends is rewrapped whole at every chunk
  // here, which the memory box's test covers without the wait.
  terminal_cases::CheckCap(w.get<ui::TextBox>("Text3"), 80,
                           [&] { return static_cast<std::size_t>(editor.insert_position()); });
}

// Its speed per MiB as the output grows is measured by bench/exec_stream_bench.
TEST_F(FltkBackendTest, OutputBoxTakesManyMegabytesWhole) {
  FltkWindow& w = open(app::Form1Spec());
  auto& out = w.get<ui::TextBox>("Text3");
  std::string chunk;
  for (int i = 0; chunk.size() < 10 * 1024; ++i) chunk += "Writing block " + std::to_string(i) + "\r\n";
  chunk.resize(10 * 1024);
  const int chunks = 8 * 1024 * 1024 / static_cast<int>(chunk.size());
  for (int i = 0; i < chunks; ++i) out.replaceSelection(chunk);
  auto& editor = static_cast<Fl_Text_Editor&>(w.widget("Text3"));
  EXPECT_EQ(editor.buffer()->length(), chunks * static_cast<int>(chunk.size()));
  EXPECT_EQ(editor.insert_position(), editor.buffer()->length());
}

// --- Lists --------------------------------------------------------------------------------

TEST_F(FltkBackendTest, ListEntriesShowAtSignsLiterally) {
  FltkWindow& w = open(app::Form1Spec());
  auto& list = w.get<ui::ListBox>("List1");
  // An empty title (a ROM too short to hold one) must be measured and drawn like any other.
  const std::vector<std::string> titles = {"@C1 SONIC @ HOME", "", "@.", "@", "@@", "@.@b x"};
  for (const std::string& title : titles) list.addItem(title);
  ASSERT_EQ(list.listCount(), static_cast<int>(titles.size()));
  auto& browser = static_cast<Fl_Browser&>(w.widget("List1"));
  for (std::size_t i = 0; i < titles.size(); ++i) {
    EXPECT_EQ(list.item(static_cast<int>(i)), titles[i]);
    EXPECT_EQ(std::string(browser.text(static_cast<int>(i) + 1)), "@." + titles[i]);
  }
  EXPECT_EQ(list.listIndex(), -1);
  list.setListIndex(1);
  w.show();
  Fl::check();  // draws the list, measuring every line
  EXPECT_EQ(list.listIndex(), 1);
  EXPECT_EQ(list.item(1), "");
  list.removeItem(1);
  EXPECT_EQ(list.item(1), "@.");

  auto& label = w.get<ui::Captioned>("Label7");
  label.setCaption("@2");
  EXPECT_EQ(label.caption(), "@2");
  EXPECT_STREQ(w.widget("Label7").label(), "@@2");
}

TEST_F(FltkBackendTest, FileListReportsClickThenDoubleClick) {
  testing_support::TempDir dir;
  testing_support::WriteBytes(dir.file("a.bin"), "a");
  testing_support::WriteBytes(dir.file("b.bin"), "b");
  FltkWindow& w = open(app::Form1Spec());
  auto& files = w.get<ui::FileList>("File1");
  files.setPath(dir.str());
  ASSERT_EQ(files.listCount(), 2);
  record(w, "File1", Event::Click);
  record(w, "File1", Event::DblClick);
  // FLTK places list entries when it first draws the list.
  w.show();
  w.native().wait_for_expose();
  Fl::flush();

  Fl_Widget& list = w.widget("File1");
  const int x = list.x() + 20;
  const int firstY = list.y() + 6;
  Click(list, x, firstY);
  EXPECT_EQ(files.fileName(), "a.bin");
  Click(list, x, firstY, /*clicks=*/1);
  Fl::e_keysym = FL_Down;
  list.handle(FL_KEYBOARD);
  EXPECT_EQ(files.fileName(), "b.bin");
  std::vector<std::pair<std::string, Event>> expected{
      {"File1", Event::Click}, {"File1", Event::DblClick}, {"File1", Event::Click}};
  EXPECT_EQ(events_, expected);
}

TEST_F(FltkBackendTest, DirListOpensOnEnterOrDoubleClickOnly) {
  testing_support::TempDir dir;
  std::filesystem::create_directory(dir.path() / "sub");
  FltkWindow& w = open(app::Form1Spec());
  auto& dirs = w.get<ui::DirList>("Dir1");
  record(w, "Dir1", Event::Change);
  dirs.setPath(dir.str());
  ASSERT_EQ(events_.size(), 1u);
  dirs.setPath(dir.str());  // the same path: nothing changes
  ASSERT_EQ(events_.size(), 1u);

  auto& browser = static_cast<Fl_Browser&>(w.widget("Dir1"));
  const int last = browser.size();  // "sub", the only subdirectory
  browser.value(last);              // highlighted, as a click or arrow key leaves it
  EXPECT_EQ(dirs.path(), dir.str());
  EXPECT_EQ(events_.size(), 1u);

  Fl::e_keysym = FL_Enter;
  browser.handle(FL_KEYBOARD);
  EXPECT_EQ(dirs.path(), (dir.path() / "sub").string());
  EXPECT_EQ(events_.size(), 2u);
}

TEST_F(FltkBackendTest, DriveListShowsNamesWithSlashesAndAmpersands) {
  FltkWindow& w = open(app::Form1Spec());
  auto& choice = dynamic_cast<ui::fltk::DriveChoice&>(w.widget("Drive1"));
  choice.setDrives({"/", "/media/a&b", "/mnt/x@y"});
  EXPECT_EQ(choice.size(), 4);  // three entries and the terminator: no submenus
  EXPECT_STREQ(choice.menu()[1].label(), "/media/a&&b");

  auto& drives = w.get<ui::DriveList>("Drive1");
  record(w, "Drive1", Event::Change);
  drives.setDrive("/media/a&b");
  EXPECT_EQ(drives.drive(), "/media/a&b");
  drives.setDrive("/media/a&b");
  drives.setDrive("/media/new");  // not listed yet: added
  EXPECT_EQ(drives.drive(), "/media/new");
  EXPECT_EQ(events_.size(), 2u);
}

// --- Event loop ---------------------------------------------------------------------------

TEST_F(FltkBackendTest, WaitReadableKeepsTheLoopRunningUntilDataArrives) {
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  bool handled = false;
  backend_->post([&] { handled = true; });
  Fl::add_timeout(0.05, [](void* fd) { (void)!write(*static_cast<int*>(fd), "x", 1); }, &fds[1]);
  // Each wait returns after one wake-up at most; the caller waits again until the data is there.
  pollfd ready{fds[0], POLLIN, 0};
  int waits = 0;
  while (poll(&ready, 1, 0) == 0) {
    backend_->waitForOutput(fds[0]);
    ++waits;
  }
  EXPECT_GE(waits, 1);
  char c = 0;
  EXPECT_EQ(read(fds[0], &c, 1), 1);
  EXPECT_TRUE(handled);
  close(fds[0]);
  close(fds[1]);
}

TEST_F(FltkBackendTest, PostedHandlersRunInOrderFromTheLoop) {
  std::vector<int> order;
  backend_->post([&] {
    order.push_back(1);
    backend_->post([&] { order.push_back(3); });
  });
  backend_->post([&] { order.push_back(2); });
  EXPECT_TRUE(order.empty());
  for (int i = 0; i < 5 && order.size() < 3; ++i) backend_->processPendingEvents();
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(FltkBackendTest, MessageBoxIsModalWithItsTitleAndReturnsWhenDismissed) {
  static std::string seenTitle;
  Fl::add_timeout(0.1, [](void*) {
    Fl_Window* box = Fl::modal();
    if (!box) return;
    seenTitle = box->label() ? box->label() : "";
    box->hide();
  });
  backend_->messageBox("Enter a filename, please.", "Error");
  EXPECT_EQ(seenTitle, "Error");
}

// The question's answer: "Yes" alone says yes; "No", Enter (No is the default) and closing the
// box say no.
TEST_F(FltkBackendTest, AskYesNoIsYesOnlyForTheYesButton) {
  enum class Act { Yes, No, Enter, Close };
  const struct {
    Act act;
    bool answer;
  } cases[] = {{Act::Yes, true}, {Act::No, false}, {Act::Enter, false}, {Act::Close, false}};
  for (const auto& c : cases) {
    static Act act;
    act = c.act;
    Fl::add_timeout(0.1, [](void*) {
      Fl_Window* box = Fl::modal();
      if (!box) return;
      if (act == Act::Close) {
        box->do_callback();
        return;
      }
      if (act == Act::Enter) {
        Fl::e_keysym = FL_Enter;
        Fl::e_text = const_cast<char*>("\r");
        Fl::e_length = 1;
        Fl::handle(FL_SHORTCUT, box);
        return;
      }
      const char* wanted = act == Act::Yes ? "Yes" : "No";
      for (int i = 0; i < box->children(); ++i) {
        Fl_Widget* child = box->child(i);
        if (child->label() && std::string(child->label()) == wanted) child->do_callback();
      }
    });
    EXPECT_EQ(backend_->askYesNo("Stop the tool now?", "Stop the tool?"), c.answer)
        << static_cast<int>(c.act);
  }
}

}  // namespace
