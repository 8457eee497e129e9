// Linux view of drives and directories for the file browser. Linux has no drive letters: the
// drives are the root and every volume mounted where removable and extra disks appear.
// Folder trees are removed with lstat, so that a link inside is removed and not followed. The
// application directory comes from /proc/self/exe, which names the executable itself whatever
// the current directory or argv[0] say.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/folders.h"
#include "platform/path_text.h"

namespace platform {

namespace {

// /proc/mounts writes blanks and a few other characters as octal escapes ("\040").
std::string DecodeMountField(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() &&
        std::isdigit(static_cast<unsigned char>(field[i + 1]))) {
      out += static_cast<char>(std::stoi(std::string(field.substr(i + 1, 3)), nullptr, 8));
      i += 3;
      continue;
    }
    out += field[i];
  }
  return out;
}

bool UnderVolumeFolder(const std::string& mountPoint) {
  for (std::string_view base : {"/media", "/mnt", "/run/media"}) {
    if (mountPoint.size() > base.size() + 1 && mountPoint.compare(0, base.size(), base) == 0 &&
        mountPoint[base.size()] == '/')
      return true;
    if (mountPoint == base && base == "/mnt") return true;
  }
  return false;
}

// Windows lists names without regard to case; so does the browser here, ties in byte order.
bool NameLess(const std::string& a, const std::string& b) {
  auto lower = [](unsigned char c) { return std::tolower(c); };
  bool less = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                           [&](char x, char y) { return lower(x) < lower(y); });
  bool greater = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                              [&](char x, char y) { return lower(x) < lower(y); });
  if (less || greater) return less;
  return a < b;
}

enum class Want { Files, Directories };

std::vector<std::string> ListEntries(std::string_view dir, Want want) {
  std::vector<std::string> names;
  std::string base(dir);
  DIR* d = opendir(base.c_str());
  if (!d) return names;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name.empty() || name[0] == '.') continue;  // hidden, and "." and ".."
    struct stat st;
    std::string full = base.empty() || base.back() == '/' ? base + name : base + "/" + name;
    if (stat(full.c_str(), &st) != 0) continue;
    bool keep = want == Want::Files ? S_ISREG(st.st_mode) : S_ISDIR(st.st_mode);
    if (keep) names.push_back(std::move(name));
  }
  closedir(d);
  std::sort(names.begin(), names.end(), NameLess);
  return names;
}

}  // namespace

std::vector<std::string> ListDrives() {
  std::vector<std::string> volumes;
  std::ifstream mounts("/proc/mounts");
  std::string line;
  while (std::getline(mounts, line)) {
    std::istringstream fields(line);
    std::string device, mountPoint;
    if (!(fields >> device >> mountPoint)) continue;
    mountPoint = DecodeMountField(mountPoint);
    if (UnderVolumeFolder(mountPoint) &&
        std::find(volumes.begin(), volumes.end(), mountPoint) == volumes.end())
      volumes.push_back(mountPoint);
  }
  std::sort(volumes.begin(), volumes.end());
  volumes.insert(volumes.begin(), "/");
  return volumes;
}

std::string DriveOfPath(std::string_view path) {
  if (RootOf(path).empty()) return std::string();
  std::string best(1, '/');
  for (const std::string& drive : ListDrives()) {
    bool inside =
        path == drive || (path.size() > drive.size() && path.compare(0, drive.size(), drive) == 0 &&
                          path[drive.size()] == '/');
    if (inside && drive.size() > best.size()) best = drive;
  }
  return best;
}

std::vector<std::string> ListFiles(std::string_view dir) { return ListEntries(dir, Want::Files); }

std::vector<std::string> ListSubdirectories(std::string_view dir) {
  return ListEntries(dir, Want::Directories);
}

bool IsDirectory(std::string_view path) {
  struct stat st;
  return stat(std::string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string CurrentDirectory() {
  std::vector<char> buffer(256);
  while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
    if (errno != ERANGE) return std::string();
    buffer.resize(buffer.size() * 2);
  }
  return std::string(buffer.data());
}

std::string SystemCurrentDirectoryOfDrive(std::string_view drive) { return std::string(drive); }

// Folder trees, for the folder the ROM fixes are made in.

namespace {

bool RemoveEntry(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return errno == ENOENT;
  if (!S_ISDIR(info.st_mode)) return ::unlink(path.c_str()) == 0;
  std::vector<std::string> names;
  if (DIR* dir = ::opendir(path.c_str())) {
    while (const dirent* entry = ::readdir(dir)) {
      const std::string name = entry->d_name;
      if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
  }
  for (const std::string& name : names) RemoveEntry(path + "/" + name);
  return ::rmdir(path.c_str()) == 0;
}

}  // namespace

bool CreateEmptyFolder(std::string_view path) {
  const std::string folder(path);
  if (folder.empty() || !RemoveEntry(folder)) return false;
  return ::mkdir(folder.c_str(), 0777) == 0;
}

bool RemoveFolderTree(std::string_view path) {
  return !path.empty() && RemoveEntry(std::string(path));
}

namespace {

// The folder part of a path: no trailing separator except at the root.
std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return std::string();
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string ExecutablePath() {
  std::vector<char> buffer(256);
  for (;;) {
    ssize_t got = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (got < 0) return std::string();
    if (static_cast<size_t>(got) < buffer.size()) return std::string(buffer.data(), got);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string ApplicationDirectory() { return FolderOf(ExecutablePath()); }

bool ChangeDirectory(std::string_view path) { return ::chdir(std::string(path).c_str()) == 0; }

bool MakeFolder(std::string_view path) {
  const std::string folder(path);
  if (folder.empty()) return false;
  if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return false;
  struct stat info {};
  return ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace platform
