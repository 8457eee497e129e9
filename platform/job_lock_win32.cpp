// Windows: the lock is LockFileEx on the lock file's first byte, taken without waiting. The
// handle is not inheritable, so no tool or helper that a job starts can keep the lock after the
// program.
#include "platform/job_lock.h"

#include <windows.h>

#include <string>

#include "platform/codepage.h"
#include "platform/path_text.h"

namespace platform {

JobLock::JobLock(std::string_view folder) {
  const std::string path = Utf8ToAnsi(JoinPath(folder, kJobLockFileName));
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    file = CreateFileA(path.c_str(), GENERIC_READ,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  if (file == INVALID_HANDLE_VALUE) return;
  OVERLAPPED at{};
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
    const DWORD error = GetLastError();
    state_ = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING ? State::Busy
                                                                        : State::Unavailable;
    CloseHandle(file);
    return;
  }
  handle_ = file;
  state_ = State::Held;
}

JobLock::~JobLock() {
  // Closing the handle releases the lock.
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
}

}  // namespace platform
