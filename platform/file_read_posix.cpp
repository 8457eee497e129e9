// Reading files and asking what an entry is, on POSIX systems.
#include "platform/file_read.h"

#include "platform/codepage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

namespace platform {

namespace {

// What stat says of path, links followed; false for an empty path or one it cannot reach.
bool StatOf(std::string_view path, struct stat& info) {
  return !path.empty() && ::stat(std::string(path).c_str(), &info) == 0;
}

}  // namespace

bool FileExists(std::string_view path) {
  struct stat info {};
  return StatOf(path, info) && !S_ISDIR(info.st_mode);
}

EntryKind KindOfEntry(std::string_view path) {
  struct stat info {};
  if (!StatOf(path, info)) return EntryKind::Missing;
  return S_ISREG(info.st_mode) ? EntryKind::RegularFile : EntryKind::Other;
}

std::optional<std::uint64_t> RegularFileSize(std::string_view path) {
  struct stat info {};
  if (!StatOf(path, info) || !S_ISREG(info.st_mode)) return std::nullopt;
  return static_cast<std::uint64_t>(info.st_size);
}

std::optional<std::string> ReadFilePart(std::string_view path, std::uint64_t offset,
                                        std::size_t limit) {
  std::string native = platform::Utf8ToAnsi(path);
  // O_NONBLOCK: a FIFO opens at once instead of waiting for a writer; the check below then
  // turns it away with every other thing that is not a regular file.
  int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }

  std::string bytes;
  char buffer[16384];
  bool failed = false;
  while (bytes.size() < limit) {
    size_t want = std::min(sizeof buffer, limit - bytes.size());
    ssize_t got = ::pread(fd, buffer, want, static_cast<off_t>(offset + bytes.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) failed = true;
    if (got <= 0) break;
    bytes.append(buffer, static_cast<size_t>(got));
  }
  ::close(fd);
  if (failed) return std::nullopt;
  return bytes;
}

bool CanReadFile(std::string_view path) {
  if (path.empty()) return false;
  // Not blocking: a pipe put in the file's place must not hold the window.
  const int fd = ::open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat info {};
  const bool regular = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  ::close(fd);
  return regular;
}

bool SameEntry(std::string_view a, std::string_view b) {
  struct stat first {};
  struct stat second {};
  return StatOf(a, first) && StatOf(b, second) && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

std::string FullPathOf(std::string_view path) {
  if (path.empty()) return std::string();
  char* resolved = ::realpath(std::string(path).c_str(), nullptr);
  if (resolved == nullptr) return std::string();
  std::string full(resolved);
  std::free(resolved);
  return full;
}

}  // namespace platform
