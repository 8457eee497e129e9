// The window layer's shared rules, through the in-memory backend: the file browser trio, the
// controls' tables (tests/ui/control_cases.h), activation and the unload sequence.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/folders.h"
#include "platform/path_text.h"
#include "control_cases.h"
#include "terminal_cases.h"
#include "support/test_support.h"
#include "ui/file_browser.h"
#include "ui/memory/memory_backend.h"

namespace {

using testing_support::CurrentDirGuard;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

constexpr ui::ControlSpec kControls[] = {
    {"Drive1", ui::Kind::DriveList, "", "", {0, 0, 100, 100}},
    {"Dir1", ui::Kind::DirList, "", "", {0, 0, 100, 100}},
    {"File1", ui::Kind::FileList, "", "", {0, 0, 100, 100}},
    {"OptA", ui::Kind::OptionButton, "A", "", {0, 0, 100, 100}},
};
const ui::WindowSpec kSpec{.name = "Test", .caption = "Test", .controls = kControls};

struct Browser : ::testing::Test {
  Browser() {
    fs::create_directories(root.path() / "games" / "sonic");
    fs::create_directories(root.path() / "saves");
    fs::create_directories(root.path() / ".hidden-dir");
    WriteBytes(root.path() / "b.bin", "b");
    WriteBytes(root.path() / "A.bin", "a");
    WriteBytes(root.path() / ".hidden", "h");
    WriteBytes(root.path() / "games" / "g.md", "g");
    fs::current_path(root.path());
    window = backend.createWindow(kSpec);
    ui::ConnectFileBrowser(*window);
    mem().show();
  }
  ui::MemoryWindow& mem() { return dynamic_cast<ui::MemoryWindow&>(*window); }
  ui::FileList& files() { return window->get<ui::FileList>("File1"); }
  std::vector<std::string> listed() {
    std::vector<std::string> names;
    for (int i = 0; i < files().listCount(); ++i) names.push_back(files().item(i));
    return names;
  }

  CurrentDirGuard cwd;
  TempDir root;
  ui::MemoryBackend backend;
  std::unique_ptr<ui::Window> window;
};

TEST_F(Browser, StartsAtTheCurrentDirectoryWithFilesOnlySortedAndNoHiddenOnes) {
  EXPECT_EQ(window->get<ui::DirList>("Dir1").path(), root.str());
  EXPECT_EQ(listed(), (std::vector<std::string>{"A.bin", "b.bin"}));
}

TEST_F(Browser, OpeningADirectoryRefreshesTheFileList) {
  ASSERT_TRUE(mem().userOpenDirectory("Dir1", (root.path() / "games").string()));
  EXPECT_EQ(files().path(), (root.path() / "games").string());
  EXPECT_EQ(listed(), std::vector<std::string>{"g.md"});
  ASSERT_TRUE(mem().userOpenDirectory("Dir1", (root.path() / "saves").string()));
  EXPECT_TRUE(listed().empty());
}

TEST_F(Browser, ADriveThatCannotBeReadSendsTheDriveListBack) {
  const std::string before = window->get<ui::DriveList>("Drive1").drive();
  ASSERT_TRUE(mem().userPickDrive("Drive1", (root.path() / "no-such-volume").string()));
  EXPECT_EQ(window->get<ui::DriveList>("Drive1").drive(), before);
  EXPECT_EQ(window->get<ui::DirList>("Dir1").path(), root.str());
  EXPECT_EQ(listed().size(), 2u);
}

TEST_F(Browser, PickingADriveShowsItsCurrentDirectoryInBothLists) {
  // Every Linux path lies on the root drive; opening a directory makes it that drive's
  // current directory, so going back to the drive returns there.
  const std::string games = (root.path() / "games").string();
  mem().userOpenDirectory("Dir1", games);
  const std::string drive = window->get<ui::DriveList>("Drive1").drive();
  mem().userPickDrive("Drive1", "/proc-is-not-a-drive");  // refused, stays
  EXPECT_EQ(window->get<ui::DriveList>("Drive1").drive(), drive);
  EXPECT_EQ(platform::SharedDriveDirectories().currentOf(platform::DriveOfPath(games)), games);
}

TEST(DirListEntries, AncestorsThenTheOpenedDirectoryThenItsSubdirectories) {
  TempDir root;
  fs::create_directories(root.path() / "x" / "b");
  fs::create_directories(root.path() / "x" / "a");
  const std::string x = (root.path() / "x").string();
  std::vector<platform::DirEntry> entries = platform::DirListEntries(x);
  ASSERT_GE(entries.size(), 4u);
  EXPECT_EQ(entries.front().path, platform::RootOf(x));
  EXPECT_EQ(entries.front().depth, 0);
  const auto opened = std::find_if(entries.begin(), entries.end(),
                                   [](const platform::DirEntry& e) { return e.opened; });
  ASSERT_NE(opened, entries.end());
  EXPECT_EQ(opened->path, x);
  EXPECT_EQ(opened->label, "x");
  EXPECT_EQ(entries[entries.size() - 2].path, (root.path() / "x" / "a").string());
  EXPECT_EQ(entries.back().path, (root.path() / "x" / "b").string());
  EXPECT_EQ(entries.back().depth, opened->depth + 1);
}

TEST(DirListEntries, TheRootItselfHasNoDoubledSeparator) {
  std::vector<platform::DirEntry> entries = platform::DirListEntries("/");
  ASSERT_FALSE(entries.empty());
  EXPECT_TRUE(entries.front().opened);
  for (size_t i = 1; i < entries.size(); ++i) EXPECT_EQ(entries[i].path.rfind("//", 0), std::string::npos);
}

TEST(JoinPath, JoinsWithOneSeparatorAndDoublesItAfterARoot) {
  const struct {
    const char* dir;
    const char* name;
    const char* joined;
  } cases[] = {
      {"/roms", "a.bin", "/roms/a.bin"},
      {"/", "a.bin", "//a.bin"},
      {"/my roms", "b c.md", "/my roms/b c.md"},
  };
  // Written with '/'; the platform's separator stands in its place.
  auto native = [](std::string text) {
    std::replace(text.begin(), text.end(), '/', platform::PathSeparator());
    return text;
  };
  for (const auto& c : cases)
    EXPECT_EQ(platform::JoinPath(native(c.dir), c.name), native(c.joined)) << c.dir;
}

// --- the controls' tables ---

struct MemoryControls : ::testing::Test {
  MemoryControls() { mem().show(); }
  ui::MemoryWindow& mem() { return dynamic_cast<ui::MemoryWindow&>(*window); }
  ui::MemoryTextBox& box(const char* name) {
    return dynamic_cast<ui::MemoryTextBox&>(window->get<ui::TextBox>(name));
  }
  control_cases::Select select(const char* name) {
    return [this, name](std::size_t from, std::size_t to) {
      box(name).select(std::min(from, to), std::max(from, to));
    };
  }
  control_cases::Caret caret(const char* name) {
    return [this, name] { return box(name).caret(); };
  }

  ui::MemoryBackend backend;
  std::unique_ptr<ui::Window> window = backend.createWindow(control_cases::kSpec);
};

TEST_F(MemoryControls, OptionButtonsFormOneGroupPerContainer) {
  control_cases::RunOptionCases(*window, [&](const char* name) { mem().userClick(name); });
}

TEST_F(MemoryControls, ScrollBarStopsAtItsEndsAndRaisesChangeOnlyWhenTheValueMoves) {
  auto& bar = window->get<ui::ScrollBar>("Bar");
  control_cases::RunScrollCases(
      *window,
      [&](control_cases::Move move) {
        using control_cases::Move;
        const int delta = move == Move::Top      ? -100
                          : move == Move::Bottom ? 100
                          : move == Move::Up || move == Move::PageUp ? -1
                                                                     : 1;
        mem().userScroll("Bar", delta);
      },
      [&] { return bar.value(); });
}

TEST_F(MemoryControls, CheckBoxIsClearOrSet) {
  control_cases::RunCheckCases(*window, [&] { mem().userClick("Check"); });
}

TEST_F(MemoryControls, ListBoxKeepsItsOrderAndSelection) {
  control_cases::RunListCases(window->get<ui::ListBox>("List"));
}

TEST_F(MemoryControls, TextBoxesReplaceTheSelectionAndClearTheLine) {
  for (const char* name : {"Text", "Out"}) {
    SCOPED_TRACE(name);
    control_cases::RunReplaceCases(box(name), select(name), caret(name));
    control_cases::RunClearLineCases(box(name), select(name), caret(name));
  }
}

TEST(MemoryOutputBox, KeepsTheNewestOutputPastTheLimitItsTableGives) {
  constexpr int kLimit = 64 << 10;
  constexpr ui::ControlSpec kBox[] = {{"Out", ui::Kind::MultiLineText, "", "", {0, 0, 100, 100},
                                       ui::kDefaultFont, 0, ui::kSystemColour, false,
                                       ui::Align::Left, 0, kLimit}};
  const ui::WindowSpec spec{.name = "Box", .caption = "Box", .controls = kBox};
  ui::MemoryBackend backend;
  auto window = backend.createWindow(spec);
  auto& box = dynamic_cast<ui::MemoryTextBox&>(window->get<ui::TextBox>("Out"));
  for (std::size_t lineLength : {80, 0})
    terminal_cases::CheckCap(box, lineLength, [&] { return box.caret(); }, kLimit);
}

TEST(Activation, FirstShowAndFocusHandedBackActivateOnceEach) {
  ui::MemoryBackend backend;
  auto main = backend.createWindow(kSpec);
  auto other = backend.createWindow(kSpec);
  int activations = 0;
  main->onActivate([&] { ++activations; });
  main->show();
  EXPECT_EQ(activations, 0) << "runs from the event loop, not inside show()";
  backend.processPendingEvents();
  EXPECT_EQ(activations, 1);
  main->setFocus();
  backend.processPendingEvents();
  EXPECT_EQ(activations, 1) << "focus it already has is no activation";
  other->show();
  main->setFocus();
  main->setFocus();
  backend.processPendingEvents();
  EXPECT_EQ(activations, 2);
}

TEST(Unload, ACancellingHandlerKeepsTheWindowAndDisabledWindowsRefuseInput) {
  ui::MemoryBackend backend;
  auto window = backend.createWindow(kSpec);
  auto& mem = dynamic_cast<ui::MemoryWindow&>(*window);
  bool cancel = true;
  int unloads = 0;
  window->onUnload([&](bool& c) {
    ++unloads;
    c = cancel;
  });
  window->show();
  EXPECT_FALSE(mem.userClose());
  EXPECT_TRUE(window->loaded());
  window->setEnabled(false);
  EXPECT_FALSE(mem.userClick("OptA"));
  EXPECT_FALSE(window->get<ui::OptionButton>("OptA").value());
  window->setEnabled(true);
  cancel = false;
  EXPECT_TRUE(mem.userClose());
  EXPECT_FALSE(window->loaded());
  EXPECT_EQ(unloads, 2);
}

}  // namespace
