#include "ui/file_browser.h"

#include <algorithm>

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
  const std::string dir = platform::SharedDriveDirectories().currentOf(driveList.drive());
  if (!platform::IsDirectory(dir)) {
    std::string shown = platform::DriveOfPath(dirList.path());
    if (shown != driveList.drive()) driveList.setDrive(shown);
    return;
  }
  dirList.setPath(dir);
  w.get<FileList>(names.file).setPath(dir);
}

bool InRange(int index, std::size_t size) {
  return index >= 0 && static_cast<std::size_t>(index) < size;
}

}  // namespace

void ConnectFileBrowser(Window& window, const FileBrowserNames& names) {
  window.on(names.dir, Event::Change, [&window, names] { Dir_Change(window, names); });
  window.on(names.drive, Event::Change, [&window, names] { Drive_Change(window, names); });
}

// --- drive list ---

int BrowserDrives::indexOf(std::string_view drive) const {
  auto it = std::find(drives_.begin(), drives_.end(), drive);
  return it == drives_.end() ? -1 : static_cast<int>(it - drives_.begin());
}

void BrowserDrives::beginBrowsing() {
  drive_ = platform::DriveOfPath(platform::CurrentDirectory());
  refreshDrives();
}

void BrowserDrives::refreshDrives() {
  drives_ = platform::ListDrives();
  if (!drive_.empty() && indexOf(drive_) < 0) drives_.push_back(drive_);
  show();
}

void BrowserDrives::setDrive(std::string_view drive) {
  if (drive == drive_) return;
  drive_ = drive;
  if (indexOf(drive_) < 0) drives_.push_back(drive_);
  show();
  changed();
}

void BrowserDrives::userPicked(int index) {
  if (!InRange(index, drives_.size()) || drives_[index] == drive_) return;
  drive_ = drives_[index];
  changed();
}

// --- directory list ---

void BrowserDirs::beginBrowsing() { show(platform::CurrentDirectory()); }

void BrowserDirs::show(std::string_view path) {
  path_ = path;
  platform::SharedDriveDirectories().record(path_);
  entries_ = platform::DirListEntries(path_);
  showDirectories(entries_);
}

void BrowserDirs::setPath(std::string_view path) {
  if (path == path_) return;
  show(path);
  changed();
}

void BrowserDirs::userOpened(int index) {
  if (!InRange(index, entries_.size())) return;
  // A copy: setPath replaces the entries.
  const std::string target = entries_[index].path;
  setPath(target);
}

// --- file list ---

void BrowserFiles::beginBrowsing() { setPath(platform::CurrentDirectory()); }

void BrowserFiles::setPath(std::string_view path) {
  path_ = path;
  files_ = platform::ListFiles(path_);
  showFiles(files_);
}

int BrowserFiles::listIndex() const {
  int index = selectedLine();
  return InRange(index, files_.size()) ? index : -1;
}

void BrowserFiles::setListIndex(int index) {
  selectLine(InRange(index, files_.size()) ? index : -1);
}

std::string BrowserFiles::item(int index) const {
  return InRange(index, files_.size()) ? files_[index] : std::string();
}

}  // namespace ui
