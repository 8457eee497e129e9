// The scratch folder on POSIX systems: lstat, so that a link inside is removed and not followed.
#include "flash/scratch_folder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

namespace flash {

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

std::optional<std::uint64_t> RegularFileSize(std::string_view path) {
  struct stat info {};
  if (path.empty() || ::stat(std::string(path).c_str(), &info) != 0) return std::nullopt;
  if (!S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

}  // namespace flash
