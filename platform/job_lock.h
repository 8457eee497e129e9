// One tool job at a time per application directory, across windows and programs: the jobs of
// one folder share its multi-game image, its scratch folder and its tool configuration, so a
// second job there would write over the first one's files.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The lock file's name in the application directory.
inline constexpr std::string_view kJobLockFileName = "telvo-job.lock";

// An exclusive lock on a folder, taken at once or not at all, and held until the object goes.
// It is a lock on an open file, so the system releases it when the program dies however it
// ends; the file itself stays, and a lock file left behind locks nothing.
class JobLock {
 public:
  enum class State {
    Held,         // this object holds the lock
    Busy,         // another job holds it
    Unavailable,  // no lock file can be opened there (a folder nothing can be written to)
  };

  explicit JobLock(std::string_view folder);
  ~JobLock();
  JobLock(const JobLock&) = delete;
  JobLock& operator=(const JobLock&) = delete;

  State state() const { return state_; }

 private:
  State state_ = State::Unavailable;
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

}  // namespace platform
