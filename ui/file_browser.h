// The drive, directory and file lists of a window kept in step: the file list follows the
// directory list, the directory list follows the drive list. The main window and the SRAM
// dialog each have such a trio.
//
// What the three lists hold and how they answer is written here once. A backend derives its
// native list from BrowserDrives, BrowserDirs or BrowserFiles, shows what it is handed and
// reports what the user picked, highlighted or opened; it decides nothing about drives,
// directories or files itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/folders.h"
#include "ui/window.h"

namespace ui {

struct FileBrowserNames {
  std::string drive = "Drive1";
  std::string dir = "Dir1";
  std::string file = "File1";
};

// Registers the Change handlers of the drive and directory lists on window.
void ConnectFileBrowser(Window& window, const FileBrowserNames& names = {});

// The drive list: the drives of the system, one of them selected.
class BrowserDrives : public DriveList {
 public:
  std::string drive() const override { return drive_; }
  // A drive the list lacks is added to it, so the list always shows the selected drive.
  void setDrive(std::string_view drive) override;

 protected:
  // Lists the drives and selects the one of the current directory. Call once the native list
  // exists.
  void beginBrowsing();
  // Lists the drives again (a volume mounted meanwhile appears), keeping the selection.
  void refreshDrives();
  // The user picked line index: Change when it is another drive.
  void userPicked(int index);

  // The backend's part: show drives with line selected, and raise Change.
  virtual void showDrives(const std::vector<std::string>& drives, int selected) = 0;
  virtual void changed() = 0;

 private:
  int indexOf(std::string_view drive) const;
  void show() { showDrives(drives_, indexOf(drive_)); }

  std::vector<std::string> drives_;
  std::string drive_;
};

// The directory list: the opened directory with its ancestors and subdirectories.
// Highlighting an entry changes nothing; opening it (double-click, Enter) makes it the path.
class BrowserDirs : public DirList {
 public:
  std::string path() const override { return path_; }
  void setPath(std::string_view path) override;

 protected:
  // Opens the current directory. Call once the native list exists.
  void beginBrowsing();
  // The user opened entry index of the list.
  void userOpened(int index);

  // The backend's part: show entries (the opened one marked) and raise Change.
  virtual void showDirectories(const std::vector<platform::DirEntry>& entries) = 0;
  virtual void changed() = 0;

 private:
  void show(std::string_view path);

  std::string path_;
  std::vector<platform::DirEntry> entries_;
};

// The file list: the files of one directory; the selection is the native list's own.
class BrowserFiles : public FileList {
 public:
  std::string path() const override { return path_; }
  // Lists the files anew, with nothing selected.
  void setPath(std::string_view path) override;
  int listCount() const override { return static_cast<int>(files_.size()); }
  int listIndex() const override;
  // An index outside the list selects nothing.
  void setListIndex(int index) override;
  std::string item(int index) const override;

 protected:
  // Lists the current directory. Call once the native list exists.
  void beginBrowsing();

  // The backend's part: show files with nothing selected, select a line (-1: none) and say
  // which line is selected (-1: none).
  virtual void showFiles(const std::vector<std::string>& files) = 0;
  virtual void selectLine(int index) = 0;
  virtual int selectedLine() const = 0;

 private:
  std::string path_;
  std::vector<std::string> files_;
};

}  // namespace ui
