// POSIX: the lock is flock() on the lock file, taken without waiting. The descriptor is
// close-on-exec, so no tool or helper that a job starts can keep the lock after the program.
#include "platform/job_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/path_text.h"

namespace platform {

JobLock::JobLock(std::string_view folder) {
  const std::string path = JoinPath(folder, kJobLockFileName);
  // A link in the lock file's place is not followed: the lock never creates a file elsewhere.
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return;
  }
  int result;
  while ((result = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  if (result != 0) {
    state_ = errno == EWOULDBLOCK ? State::Busy : State::Unavailable;
    ::close(fd);
    return;
  }
  fd_ = fd;
  state_ = State::Held;
}

JobLock::~JobLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace platform
