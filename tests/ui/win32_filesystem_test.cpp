// The Windows file browser: drives, listings without hidden and system files, each drive's
// current directory, and the native lists that show them.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>

#include "platform/folders.h"
#include "platform/path_text.h"
#include "support/test_support.h"
#include "ui/file_browser.h"
#include "ui/memory/memory_backend.h"
#include "ui/win32/win32_backend.h"
#include "ui/win32/win32_window.h"

namespace {

using testing_support::CurrentDirGuard;
using testing_support::TempDir;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

void SetAttributes(const fs::path& path, DWORD attributes) {
  SetFileAttributesA(path.string().c_str(), attributes);
}

TEST(Win32FileSystem, PathsTakenApart) {
  struct Row {
    const char* path;
    const char* drive;
    const char* root;
  };
  const Row rows[] = {
      {"C:\\Games\\Sonic", "c:", "C:\\"},
      {"d:", "d:", ""},
      {"e:\\", "e:", "e:\\"},
      {"\\\\server\\share\\roms", "", "\\\\server\\share\\"},
      {"relative\\dir", "", ""},
      {"", "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.path);
    EXPECT_EQ(platform::DriveOfPath(row.path), row.drive);
    EXPECT_EQ(platform::RootOf(row.path), row.root);
  }
  EXPECT_EQ(platform::PathSeparator(), '\\');
  EXPECT_EQ(platform::JoinPath("c:\\", "TEMP.BIN"), "c:\\\\TEMP.BIN");  // no normalisation
}

TEST(Win32FileSystem, DrivesAreLowerCaseLettersWithAColon) {
  const std::vector<std::string> drives = platform::ListDrives();
  ASSERT_FALSE(drives.empty());
  EXPECT_NE(std::find(drives.begin(), drives.end(), "c:"), drives.end());
  for (const std::string& d : drives) {
    EXPECT_EQ(d.size(), 2u);
    EXPECT_TRUE(d[0] >= 'a' && d[0] <= 'z') << d;
    EXPECT_EQ(d[1], ':');
  }
}

struct Win32Listing : ::testing::Test {
  Win32Listing() {
    for (const char* name : {"b.bin", "A.bin", "c.BIN", "hidden.bin", "system.bin"})
      WriteBytes(dir.path() / name, "x");
    fs::create_directories(dir.path() / "Saves");
    fs::create_directories(dir.path() / "games");
    fs::create_directories(dir.path() / "secret");
    SetAttributes(dir.path() / "hidden.bin", FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(dir.path() / "system.bin", FILE_ATTRIBUTE_SYSTEM);
    SetAttributes(dir.path() / "secret", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
  }
  ~Win32Listing() override {
    SetAttributes(dir.path() / "hidden.bin", FILE_ATTRIBUTE_NORMAL);
    SetAttributes(dir.path() / "system.bin", FILE_ATTRIBUTE_NORMAL);
    SetAttributes(dir.path() / "secret", FILE_ATTRIBUTE_DIRECTORY);
  }
  TempDir dir;
};

TEST_F(Win32Listing, FilesWithoutHiddenSystemOrDirectoriesSortedIgnoringCase) {
  EXPECT_EQ(platform::ListFiles(dir.str()), (std::vector<std::string>{"A.bin", "b.bin", "c.BIN"}));
  EXPECT_EQ(platform::ListFiles(dir.str() + "\\"), platform::ListFiles(dir.str()));
  EXPECT_EQ(platform::ListSubdirectories(dir.str()), (std::vector<std::string>{"games", "Saves"}));
  EXPECT_TRUE(platform::ListFiles(dir.file("missing")).empty());
  EXPECT_TRUE(platform::IsDirectory(dir.str()));
  EXPECT_FALSE(platform::IsDirectory(dir.file("b.bin")));
}

TEST_F(Win32Listing, EachDriveKeepsItsCurrentDirectory) {
  CurrentDirGuard cwd;
  ASSERT_TRUE(SetCurrentDirectoryA(dir.str().c_str()));
  const std::string drive = platform::DriveOfPath(dir.str());
  EXPECT_EQ(lstrcmpiA(platform::SystemCurrentDirectoryOfDrive(drive).c_str(), dir.str().c_str()), 0)
      << platform::SystemCurrentDirectoryOfDrive(drive) << " vs " << dir.str();
  // What is no drive letter alone stands for itself, so a volume that is gone stays gone.
  for (const std::string& other : {dir.file("no-such-volume"), std::string("\\\\server\\share")})
    EXPECT_EQ(platform::SystemCurrentDirectoryOfDrive(other), other);
}

// The native lists of the file browser, kept in step as in the program.
constexpr ui::ControlSpec kBrowser[] = {
    {"Dir1", ui::Kind::DirList, "", "", {0, 0, 2655, 2610}, ui::kFont9Bold, 0},
    {"Drive1", ui::Kind::DriveList, "", "", {0, 2640, 2655, 240}, ui::kFont6Bold, 1},
    {"File1", ui::Kind::FileList, "", "", {2640, 0, 3000, 2610}, ui::kDefaultFont, 2},
};
const ui::WindowSpec kBrowserSpec{.name = "Browser", .caption = "Browser", .clientWidth = 5700,
                                  .clientHeight = 2900, .controls = kBrowser};

struct Win32Browser : Win32Listing {
  Win32Browser() {
    SetCurrentDirectoryA(dir.str().c_str());
    window = backend.createWindow(kBrowserSpec);
    native = dynamic_cast<ui::win32::Win32Window*>(window.get());
    ui::ConnectFileBrowser(*window);
  }
  int indexOf(HWND list, const std::string& text) {
    return static_cast<int>(SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text.c_str())));
  }
  void highlight(const std::string& text) {
    HWND list = native->nativeHandle("Dir1");
    int index = -1;
    for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
      char buffer[MAX_PATH] = {};
      SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
      std::string shown = buffer;
      if (shown.substr(shown.find_first_not_of(' ')) == text) index = i;
    }
    ASSERT_GE(index, 0) << text;
    SendMessageA(list, LB_SETCURSEL, index, 0);
  }

  CurrentDirGuard cwd;
  ui::win32::Win32Backend backend;
  std::unique_ptr<ui::Window> window;
  ui::win32::Win32Window* native = nullptr;
};

TEST_F(Win32Browser, StartsAtTheCurrentDirectoryAndDrive) {
  EXPECT_EQ(window->get<ui::DirList>("Dir1").path(), dir.str());
  EXPECT_EQ(window->get<ui::DriveList>("Drive1").drive(), platform::DriveOfPath(dir.str()));
  auto& files = window->get<ui::FileList>("File1");
  ASSERT_EQ(files.listCount(), 3);
  EXPECT_EQ(files.item(0), "A.bin");
  EXPECT_EQ(files.listIndex(), -1);
}

TEST_F(Win32Browser, HighlightingChangesNothingEnterAndDoubleClickOpen) {
  auto& dirs = window->get<ui::DirList>("Dir1");
  auto& files = window->get<ui::FileList>("File1");
  HWND list = native->nativeHandle("Dir1");
  highlight("games");
  EXPECT_EQ(dirs.path(), dir.str());
  WriteBytes(dir.path() / "games" / "g.md", "g");
  SendMessageA(list, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(dirs.path(), dir.str() + "\\games");
  EXPECT_EQ(files.path(), dirs.path());
  ASSERT_EQ(files.listCount(), 1);
  EXPECT_EQ(files.item(0), "g.md");

  highlight(dir.path().filename().string());  // the parent, one line up
  SendMessageA(native->hwnd(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(dirs.path(), dir.str());
  EXPECT_EQ(files.listCount(), 3);
}

TEST_F(Win32Browser, FileListSelectionIsAClickAndDoubleClickFollows) {
  std::vector<std::string> events;
  window->on("File1", ui::Event::Click, [&] {
    events.push_back("click " + window->get<ui::FileList>("File1").fileName());
  });
  window->on("File1", ui::Event::DblClick, [&] { events.push_back("dblclick"); });
  HWND list = native->nativeHandle("File1");
  SendMessageA(list, LB_SETCURSEL, 1, 0);
  const WPARAM id = static_cast<WPARAM>(GetDlgCtrlID(list));
  SendMessageA(native->hwnd(), WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  SendMessageA(native->hwnd(), WM_COMMAND, MAKEWPARAM(id, LBN_DBLCLK),
               reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(events, (std::vector<std::string>{"click b.bin", "dblclick"}));
}

TEST_F(Win32Browser, SettingTheSameValueRaisesNoChange) {
  int changes = 0;
  window->on("Drive1", ui::Event::Change, [&] { ++changes; });
  window->on("Dir1", ui::Event::Change, [&] { ++changes; });
  window->get<ui::DriveList>("Drive1").setDrive(platform::DriveOfPath(dir.str()));
  window->get<ui::DirList>("Dir1").setPath(dir.str());
  EXPECT_EQ(changes, 0);
  window->get<ui::DirList>("Dir1").setPath(dir.file("Saves"));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(platform::SharedDriveDirectories().currentOf(platform::DriveOfPath(dir.str())),
            dir.file("Saves"));
}

// --- the in-memory backend's wait, on Windows pipes ---

TEST(MemoryBackendWin32, WaitsForDataOrTheEndWhileTheUserActs) {
  ui::MemoryBackend backend;
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  ASSERT_TRUE(CreatePipe(&readEnd, &writeEnd, nullptr, 0));
  int during = 0;
  backend.setUserDuringEvents([&] {
    if (++during == 5) {
      DWORD written = 0;
      WriteFile(writeEnd, "ok", 2, &written, nullptr);
    }
  });
  // Each wait runs one round of events at most; the caller waits again until data is there.
  DWORD available = 0;
  while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available == 0)
    backend.waitForOutput(readEnd);
  EXPECT_EQ(during, 5);
  EXPECT_EQ(backend.waitTicks(), 5);
  CloseHandle(writeEnd);
  char buffer[2];
  DWORD got = 0;
  ReadFile(readEnd, buffer, 2, &got, nullptr);
  backend.waitForOutput(readEnd);  // broken pipe: returns at once
  EXPECT_EQ(during, 5);
  CloseHandle(readEnd);
}

}  // namespace
