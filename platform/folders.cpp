// The platform-independent half of the folder services: the directory list's entries, each
// drive's current directory, and whether a path lies in a folder.
#include "platform/folders.h"

#include "platform/file_read.h"
#include "platform/path_text.h"

namespace platform {

namespace {

bool EndsWithSeparator(std::string_view path) {
  return !path.empty() && path.back() == PathSeparator();
}

// A subdirectory's own path, as the directory list shows it: a root keeps its single separator.
std::string ChildPath(std::string_view dir, std::string_view name) {
  std::string out(dir);
  if (!EndsWithSeparator(out)) out += PathSeparator();
  out += name;
  return out;
}

}  // namespace

std::vector<DirEntry> DirListEntries(std::string_view path) {
  std::vector<DirEntry> entries;
  std::string root = RootOf(path);
  std::string current = root;
  int depth = 0;
  if (!root.empty()) entries.push_back({root, root, depth++, false});
  std::string_view rest = path.substr(root.size());
  while (!rest.empty()) {
    size_t cut = rest.find(PathSeparator());
    std::string_view component = rest.substr(0, cut);
    rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + 1);
    if (component.empty()) continue;
    current = current.empty() ? std::string(component) : ChildPath(current, component);
    entries.push_back({current, std::string(component), depth++, false});
  }
  if (entries.empty()) return entries;
  entries.back().opened = true;
  const std::string opened = entries.back().path;
  for (const std::string& name : ListSubdirectories(opened))
    entries.push_back({ChildPath(opened, name), name, depth, false});
  return entries;
}

std::string DriveDirectories::currentOf(std::string_view drive) const {
  auto it = last_.find(drive);
  if (it != last_.end() && IsDirectory(it->second)) return it->second;
  return SystemCurrentDirectoryOfDrive(drive);
}

void DriveDirectories::record(std::string_view path) {
  std::string drive = DriveOfPath(path);
  if (drive.empty()) return;
  last_[drive] = std::string(path);
}

DriveDirectories& SharedDriveDirectories() {
  static DriveDirectories shared;
  return shared;
}

bool LiesInside(std::string_view path, std::string_view folder) {
  std::string current = FullPathOf(path);
  while (!current.empty()) {
    std::string parent = FolderOf(current);
    if (parent.empty() || parent == current) return false;
    if (SameEntry(parent, folder)) return true;
    current = std::move(parent);
  }
  return false;
}

}  // namespace platform
