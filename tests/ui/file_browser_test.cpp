// The file browser's lists as every backend gets them: what they show and when they report a
// change, through a view that records what it was handed.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/test_support.h"
#include "ui/file_browser.h"

namespace {

using testing_support::CurrentDirGuard;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

class RecordedDrives : public ui::BrowserDrives {
 public:
  RecordedDrives() { beginBrowsing(); }
  using BrowserDrives::userPicked;
  std::vector<std::string> shown;
  int selected = -2;
  int changes = 0;

 protected:
  void showDrives(const std::vector<std::string>& drives, int line) override {
    shown = drives;
    selected = line;
  }
  void changed() override { ++changes; }
};

class RecordedDirs : public ui::BrowserDirs {
 public:
  RecordedDirs() { beginBrowsing(); }
  using BrowserDirs::userOpened;
  std::vector<platform::DirEntry> shown;
  int changes = 0;

 protected:
  void showDirectories(const std::vector<platform::DirEntry>& entries) override { shown = entries; }
  void changed() override { ++changes; }
};

class RecordedFiles : public ui::BrowserFiles {
 public:
  RecordedFiles() { beginBrowsing(); }
  std::vector<std::string> shown;
  int line = -1;

 protected:
  void showFiles(const std::vector<std::string>& files) override {
    shown = files;
    line = -1;
  }
  void selectLine(int index) override { line = index; }
  int selectedLine() const override { return line; }
};

struct BrowserLists : ::testing::Test {
  BrowserLists() {
    fs::create_directories(root.path() / "games");
    WriteBytes(root.path() / "a.bin", "a");
    WriteBytes(root.path() / "b.bin", "b");
    fs::current_path(root.path());
  }
  int lineOf(const std::vector<platform::DirEntry>& entries, const std::string& path) {
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].path == path) return static_cast<int>(i);
    return -1;
  }

  CurrentDirGuard cwd;
  TempDir root;
};

TEST_F(BrowserLists, TheDriveListShowsTheSelectedDriveAndReportsOnlyAnotherOne) {
  RecordedDrives drives;
  ASSERT_GE(drives.selected, 0);
  EXPECT_EQ(drives.shown[drives.selected], drives.drive());
  const int start = drives.selected;
  const int count = static_cast<int>(drives.shown.size());
  // Picks that are no change: the drive shown, and lines the list does not have.
  for (int line : {start, -1, count, count + 5}) drives.userPicked(line);
  EXPECT_EQ(drives.changes, 0);

  drives.setDrive("/not-listed");
  EXPECT_EQ(drives.drive(), "/not-listed");
  ASSERT_EQ(drives.shown.size(), static_cast<size_t>(count) + 1);
  EXPECT_EQ(drives.shown[drives.selected], "/not-listed");
  drives.setDrive("/not-listed");
  EXPECT_EQ(drives.changes, 1);
  drives.userPicked(start);
  EXPECT_EQ(drives.changes, 2);
  EXPECT_EQ(drives.drive(), drives.shown[start]);
}

TEST_F(BrowserLists, OpeningAnEntryMakesItThePathHighlightingAloneDoesNot) {
  RecordedDirs dirs;
  EXPECT_EQ(dirs.path(), root.str());
  const std::string games = (root.path() / "games").string();
  const int line = lineOf(dirs.shown, games);
  ASSERT_GE(line, 0);
  for (int outside : {-1, static_cast<int>(dirs.shown.size())}) dirs.userOpened(outside);
  EXPECT_EQ(dirs.changes, 0);
  dirs.userOpened(line);
  EXPECT_EQ(dirs.path(), games);
  EXPECT_EQ(dirs.changes, 1);
  EXPECT_EQ(platform::SharedDriveDirectories().currentOf(platform::DriveOfPath(games)), games);
  // The opened entry itself: the same path, no change.
  dirs.userOpened(lineOf(dirs.shown, games));
  EXPECT_EQ(dirs.changes, 1);
}

TEST_F(BrowserLists, TheFileSelectionStaysInsideTheListAndIsClearedByANewPath) {
  RecordedFiles files;
  ASSERT_EQ(files.shown, (std::vector<std::string>{"a.bin", "b.bin"}));
  const struct {
    int select;
    int index;
    const char* name;
  } rows[] = {{1, 1, "b.bin"}, {0, 0, "a.bin"}, {2, -1, ""}, {-1, -1, ""}, {-7, -1, ""}};
  for (const auto& row : rows) {
    files.setListIndex(row.select);
    EXPECT_EQ(files.listIndex(), row.index) << row.select;
    EXPECT_EQ(files.fileName(), row.name) << row.select;
  }
  files.setListIndex(1);
  files.setPath((root.path() / "games").string());
  EXPECT_EQ(files.listIndex(), -1);
  EXPECT_EQ(files.listCount(), 0);
  EXPECT_EQ(files.item(0), "");
}

}  // namespace
