// Replacing a file on POSIX systems: write a temporary file beside it, fdatasync it, rename it
// over the old one, then sync the folder so the rename itself survives a power cut.
#include "platform/file_replace.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <string>

namespace platform {

namespace {

// Creates a temporary file of a fresh name beside path, never opening anything that was there
// already; -1 when the folder does not take new files.
int CreateTemporary(std::string_view path, std::string& temp) {
  constexpr int kFlags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
  constexpr int kTries = 100;
  for (int i = 0; i < kTries; ++i) {
    temp = TemporaryPathFor(path);
    int fd = ::open(temp.c_str(), kFlags, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

void SyncFolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool ReplaceFile(std::string_view path, std::string_view bytes) {
  std::string target(path);
  std::string temp;
  int fd = CreateTemporary(path, temp);
  if (fd < 0) return false;

  bool written = WriteAll(fd, bytes) && ::fdatasync(fd) == 0;
  bool closed = ::close(fd) == 0;
  if (!written || !closed || ::rename(temp.c_str(), target.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  SyncFolderOf(target);
  return true;
}

std::optional<std::string> CannotCreateReason(std::string_view path) {
  const std::string file(path);
  // Exclusive: the probe must never truncate a file another program is writing.
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return std::string(std::strerror(errno));
  ::close(fd);
  ::unlink(file.c_str());
  return std::nullopt;
}

bool RemoveFile(std::string_view path) { return ::unlink(std::string(path).c_str()) == 0; }

}  // namespace platform
