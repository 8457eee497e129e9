#include "ui/file_browser.h"

#include "ui/filesystem.h"

namespace ui {

namespace {

// The directory list's path changed (opened by the user, or set by the drive handler).
void Dir_Change(Window& w, const FileBrowserNames& names) {
  w.get<FileList>(names.file).setPath(w.get<DirList>(names.dir).path());
}

// Another drive was picked: both lists show that drive's current directory. A drive that
// cannot be read (no medium, a volume gone) sends the drive list back to the drive the
// directory list still shows, so the window stays usable.
void Drive_Change(Window& w, const FileBrowserNames& names) {
  auto& driveList = w.get<DriveList>(names.drive);
  auto& dirList = w.get<DirList>(names.dir);
  const std::string dir = SharedDriveDirectories().currentOf(driveList.drive());
  if (!IsDirectory(dir)) {
    std::string shown = DriveOfPath(dirList.path());
    if (shown != driveList.drive()) driveList.setDrive(shown);
    return;
  }
  dirList.setPath(dir);
  w.get<FileList>(names.file).setPath(dir);
}

}  // namespace

void ConnectFileBrowser(Window& window, const FileBrowserNames& names) {
  window.on(names.dir, Event::Change, [&window, names] { Dir_Change(window, names); });
  window.on(names.drive, Event::Change, [&window, names] { Drive_Change(window, names); });
}

}  // namespace ui
