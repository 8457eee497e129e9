// The main window's start-up and shut-down, driven through the in-memory backend with a
// temporary folder as the application directory.
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "app/form1.h"
#include "config/environment.h"
#include "exec/process.h"
#include "support/test_support.h"
#include "ui/memory/memory_backend.h"

namespace {

using testing_support::CurrentDirGuard;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

const std::string kDefaults =
    "# Vostrik Software's TELVO Flashing Software Configuration file V1.00\r\n"
    "FixUnl = 0\r\nFixChk = 1\r\nEnforce = 1\r\nPad = 0\r\nLPT = 378\r\nTELVO = 0\r\n";

struct Form1Test : ::testing::Test {
  Form1Test() { fs::current_path(elsewhere.path()); }

  app::Form1& start() {
    form = std::make_unique<app::Form1>(backend, app::Form1::Options{appDir.str()});
    form->Form_Load();
    backend.processPendingEvents();
    return *form;
  }
  ui::MemoryWindow& window() { return dynamic_cast<ui::MemoryWindow&>(form->form()); }
  int check(const char* name) { return window().get<ui::CheckBox>(name).value(); }
  bool option(const char* name) { return window().get<ui::OptionButton>(name).value(); }
  std::string caption(const char* name) { return window().get<ui::Captioned>(name).caption(); }
  std::string settings() { return ReadBytes(appDir.path() / "TELVO.INI"); }

  CurrentDirGuard cwd;
  TempDir appDir;
  TempDir elsewhere;
  ui::MemoryBackend backend;
  std::unique_ptr<app::Form1> form;
};

TEST_F(Form1Test, FirstStartWritesBothFilesShowsTheDefaultsAndMakesTheAppDirCurrent) {
  start();
  EXPECT_TRUE(window().visible());
  EXPECT_EQ(settings(), kDefaults);
  EXPECT_TRUE(fs::is_regular_file(appDir.path() / ".ucon64rc"));
  EXPECT_FALSE(fs::exists(elsewhere.path() / ".ucon64rc"));
  EXPECT_EQ(fs::current_path(), appDir.path());
  EXPECT_EQ(check("Check1"), 0);
  EXPECT_EQ(check("Check2"), 1);
  EXPECT_EQ(check("Check3"), 1);
  EXPECT_EQ(check("Check4"), 0);
  EXPECT_EQ(window().get<ui::TextBox>("Text2").text(), "378");
  EXPECT_TRUE(option("Option1"));
  EXPECT_FALSE(option("Option2"));
  EXPECT_EQ(caption("Label7"), "1");
  EXPECT_TRUE(window().hasFocus());
}

TEST_F(Form1Test, AnExistingSettingsFileIsOnlyReadAtStartAndAlwaysRewrittenAtClose) {
  const std::string mine =
      "FixUnl = 1\r\nLPT = 2BC\r\nTELVO = 1\r\n# a comment the program drops\r\n";
  WriteBytes(appDir.path() / "TELVO.INI", mine);
  start();
  EXPECT_EQ(settings(), mine);
  EXPECT_EQ(check("Check1"), 1);
  EXPECT_EQ(check("Check2"), 0);
  EXPECT_EQ(window().get<ui::TextBox>("Text2").text(), "2BC");
  EXPECT_TRUE(option("Option2"));
  fs::current_path(elsewhere.path());
  EXPECT_TRUE(window().userClose());
  EXPECT_EQ(settings(),
            "# Vostrik Software's TELVO Flashing Software Configuration file V1.00\r\n"
            "FixUnl = 1\r\nFixChk = 0\r\nEnforce = 0\r\nPad = 0\r\nLPT = 2BC\r\nTELVO = 1\r\n");
  EXPECT_EQ(fs::current_path(), appDir.path());
}

TEST_F(Form1Test, ChangedControlsReachTheFileAtClose) {
  start();
  window().userClick("Check4");
  window().userClick("Check2");
  window().userClick("Option2");
  auto& port = window().get<ui::TextBox>("Text2");
  port.setText("");
  window().userType("Text2", "278 ");
  EXPECT_EQ(settings(), kDefaults) << "nothing is written before the close";
  window().userClose();
  EXPECT_EQ(settings(),
            "# Vostrik Software's TELVO Flashing Software Configuration file V1.00\r\n"
            "FixUnl = 0\r\nFixChk = 0\r\nEnforce = 1\r\nPad = 1\r\nLPT = 278 \r\nTELVO = 1\r\n");
}

TEST_F(Form1Test, ASettingsFileThatIsADirectoryLeavesTheInitialValuesAndClosingStillEnds) {
  fs::create_directory(appDir.path() / "TELVO.INI");
  start();
  EXPECT_TRUE(window().visible());
  EXPECT_EQ(check("Check2"), 0);
  EXPECT_FALSE(option("Option1") || option("Option2"));
  EXPECT_EQ(caption("Label7"), "1");
  EXPECT_TRUE(window().userClose());
  EXPECT_TRUE(fs::is_directory(appDir.path() / "TELVO.INI"));
}

TEST_F(Form1Test, WhatHasTheTemporaryFilesNamesNeitherStopsSavingNorIsTouched) {
  WriteBytes(appDir.path() / "TELVO.INI", "Pad = 1\r\n");
  WriteBytes(appDir.path() / ".ucon64rc", "old tool settings\r\n");
  fs::create_directory(appDir.path() / "TELVO.INI.tmp");
  fs::create_directory(appDir.path() / ".ucon64rc.tmp");
  start();
  EXPECT_EQ(check("Check4"), 1);
  EXPECT_NE(ReadBytes(appDir.path() / ".ucon64rc"), "old tool settings\r\n");
  EXPECT_TRUE(window().userClose());
  EXPECT_EQ(settings(),
            "# Vostrik Software's TELVO Flashing Software Configuration file V1.00\r\n"
            "FixUnl = 0\r\nFixChk = 0\r\nEnforce = 0\r\nPad = 1\r\nLPT = 378\r\nTELVO = 1\r\n");
  EXPECT_TRUE(fs::is_directory(appDir.path() / "TELVO.INI.tmp"));
  EXPECT_TRUE(fs::is_directory(appDir.path() / ".ucon64rc.tmp"));
  // The fifth is the jobs' lock file, which start-up takes before removing a killed job's files.
  EXPECT_EQ(std::distance(fs::directory_iterator(appDir.path()), fs::directory_iterator()), 5);
}

#ifndef _WIN32
TEST_F(Form1Test, ASettingsFileThatIsThereButCannotBeReadIsKeptAsItIs) {
  struct Row {
    const char* name;
    bool (*make)(const fs::path& ini);  // false: the case cannot be made here
  };
  const Row rows[] = {
      {"no permission",
       [](const fs::path& ini) {
         WriteBytes(ini, "FixUnl = 1\r\nLPT = 2BC\r\n");
         fs::permissions(ini, fs::perms::none);
         return ::geteuid() != 0;  // root reads it all the same
       }},
      {"FIFO", [](const fs::path& ini) { return ::mkfifo(ini.c_str(), 0600) == 0; }},
      {"link to a device",
       [](const fs::path& ini) {
         fs::create_symlink("/dev/zero", ini);
         return true;
       }},
  };
  for (const Row& row : rows) {
    fs::path ini = appDir.path() / "TELVO.INI";
    fs::remove(ini);
    if (!row.make(ini)) continue;
    auto typeBefore = fs::symlink_status(ini).type();
    start();
    EXPECT_TRUE(window().visible()) << row.name;
    EXPECT_TRUE(window().userClose()) << row.name;
    EXPECT_EQ(fs::symlink_status(ini).type(), typeBefore) << row.name;
    if (typeBefore == fs::file_type::regular) {
      fs::permissions(ini, fs::perms::owner_read);
      EXPECT_EQ(settings(), "FixUnl = 1\r\nLPT = 2BC\r\n") << row.name;
    }
    form.reset();
    fs::current_path(elsewhere.path());
  }
}
#endif

// The output box tells at start-up, in one line, when the options cannot be kept; a folder
// that can be written shows nothing there.
TEST_F(Form1Test, TheOutputBoxSaysOnceWhenTheOptionsCannotBeKept) {
  struct Row {
    const char* name;
    bool blocked;
  };
  for (const Row& row : {Row{"writable", false}, Row{"folder gone", true}}) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    // Run as root, only a folder that is not there refuses new files.
    const std::string folder = row.blocked ? dir.file("gone") : dir.str();
    form = std::make_unique<app::Form1>(backend, app::Form1::Options{folder});
    form->Form_Load();
    backend.processPendingEvents();
    const std::string out = window().get<ui::TextBox>("Text3").text();
    if (!row.blocked) {
      EXPECT_EQ(out, "");
    } else {
      const std::string start = "The folder " + folder + " cannot be written (";
      const std::string end = "): the options will not be kept." + std::string(exec::kOutputLineEnd);
      ASSERT_GT(out.size(), start.size() + end.size() + 1) << out;
      EXPECT_EQ(out.substr(0, start.size()), start);
      EXPECT_EQ(out.substr(out.size() - end.size()), end);
      EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line";
    }
    form->form().unload();
    form.reset();
    fs::current_path(elsewhere.path());
  }
}

#ifndef _WIN32
// Windows refuses line breaks in names; elsewhere a folder may hold one, and the tool cannot be
// pointed at it: the box says so at start-up and no setting of the name's own reaches the tool.
TEST_F(Form1Test, AProgramFolderWithALineBreakInItsNameIsNotWrittenIntoTheToolConfiguration) {
  const fs::path folder = appDir.path() / "app\nucon64_datdir=X";
  fs::create_directory(folder);
  form = std::make_unique<app::Form1>(backend, app::Form1::Options{folder.string()});
  form->Form_Load();
  backend.processPendingEvents();
  EXPECT_FALSE(fs::exists(folder / ".ucon64rc"));
  const std::string out = window().get<ui::TextBox>("Text3").text();
  EXPECT_NE(out.find("The tool configuration .ucon64rc was not written"), std::string::npos)
      << out;
  EXPECT_TRUE(fs::is_regular_file(folder / "TELVO.INI")) << "the rest of the start is as ever";
}
#endif

TEST_F(Form1Test, SlotSelectorRunsFromOneToFourAndStopsAtBothEnds) {
  start();
  const struct {
    int delta;
    const char* label;
  } steps[] = {{-1, "1"}, {1, "2"}, {1, "3"}, {1, "4"}, {1, "4"}, {-1, "3"}};
  for (const auto& s : steps) {
    window().userScroll("VScroll1", s.delta);
    EXPECT_EQ(caption("Label7"), s.label);
  }
}

#ifndef _WIN32
// (On Windows the shell opens the page; under Wine that would start a browser of Wine's own.)
TEST_F(Form1Test, LinkLabelsWithNoBrowserChangeNothingAndShowNothing) {
  start();
  const char* old = std::getenv("PATH");
  const std::string saved = old ? old : "";
  config::SetEnvironmentVariable("PATH", elsewhere.str());
  for (const char* link : {"Label9", "Label10", "Label12"}) EXPECT_TRUE(window().userClick(link));
  config::SetEnvironmentVariable("PATH", saved);
  EXPECT_TRUE(backend.messages().empty());
  EXPECT_EQ(caption("Label9"), "http://www.vostrik.example/");
  EXPECT_EQ(window().get<ui::TextBox>("Text3").text(), "");
}
#endif

TEST_F(Form1Test, DoubleClickingAFileAddsTheSameEntryAsSelectingItAndAddToList) {
  WriteBytes(elsewhere.path() / "game.bin", std::string(336, '\0') + "SPACE RACER" +
                                                std::string(37, ' ') + std::string(128, 'x'));
  fs::current_path(elsewhere.path());
  start();
  window().userOpenDirectory("Dir1", elsewhere.str());
  ASSERT_TRUE(window().userDoubleClick("File1", 0));
  ASSERT_TRUE(window().userSelect("File1", 0));
  ASSERT_TRUE(window().userClick("Command1"));
  auto& titles = window().get<ui::ListBox>("List1");
  auto& paths = window().get<ui::ListBox>("List2");
  ASSERT_EQ(titles.listCount(), 2);
  ASSERT_EQ(paths.listCount(), 2);
  EXPECT_EQ(titles.item(0), "SPACE RACER" + std::string(37, ' '));
  EXPECT_EQ(titles.item(0), titles.item(1));
  EXPECT_EQ(paths.item(0), (elsewhere.path() / "game.bin").string());
  EXPECT_EQ(paths.item(0), paths.item(1));
}

}  // namespace
