// POSIX: the tool is started directly with posix_spawn, never through a shell, with the
// argument list as it stands: nothing splits, joins or interprets an argument. Its standard
// output and standard error are dup'ed onto the write end of one pipe, its standard input is
// /dev/null, and every other descriptor of ours is closed in the child. A message about a tool that cannot be started ends with
// the line ending of this platform's output box.
#include "exec/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/codepage.h"

extern char** environ;

namespace exec {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kReadSize = 10240;

bool IsProgramFile(const std::string& candidate) {
  std::error_code ec;
  const fs::file_status status = fs::status(candidate, ec);
  if (ec || !fs::is_regular_file(status)) return false;
  constexpr fs::perms anyExec =
      fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  return (status.permissions() & anyExec) != fs::perms::none;
}

// The directory joined with the name and nothing else: a root that already ends with the
// separator gives a doubled one, which the system accepts.
std::string FindIn(std::string_view dir, std::string_view name) {
  if (dir.empty()) return {};
  std::string candidate(dir);
  candidate += '/';
  candidate += name;
  return IsProgramFile(candidate) ? candidate : std::string();
}

// The end of the line for a bare program name found nowhere: where it was looked for, and
// where to put it.
std::string WhereItWasLookedFor(std::string_view name, std::string_view appDir) {
  const std::string dir(appDir);
  return "; looked for in the application directory (" + dir +
         "), then the directories of PATH: put " + std::string(name) + " into " + dir;
}

void ReportStartFailure(Output& output, std::string_view program, int error,
                        std::string_view advice = {}) {
  std::string line = "Cannot start \"";
  line += program;
  line += "\": ";
  line += std::strerror(error);
  line += advice;
  line += kOutputLineEnd;
  output.write(platform::AnsiToUtf8(line));
}

// The child's side of the pipe and of the start folder, applied between fork and exec.
class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;

  bool prepare(int writeEnd, const std::string* startFolder) {
    // Output first: should the pipe have been given descriptor 0, opening /dev/null there
    // afterwards cannot take it away.
    if (posix_spawn_file_actions_adddup2(&actions_, writeEnd, 1) != 0) return false;
    if (posix_spawn_file_actions_adddup2(&actions_, writeEnd, 2) != 0) return false;
    if (posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) != 0) {
      return false;
    }
    // Descriptors that some library opened without close-on-exec must not reach the tool either.
    if (posix_spawn_file_actions_addclosefrom_np(&actions_, 3) != 0) return false;
    if (startFolder == nullptr) return true;
    return posix_spawn_file_actions_addchdir_np(&actions_, startFolder->c_str()) == 0;
  }
  const posix_spawn_file_actions_t* get() const { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

// A window program may ignore SIGPIPE or block signals; the tool starts with the defaults.
class SpawnAttributes {
 public:
  SpawnAttributes() {
    posix_spawnattr_init(&attr_);
    sigset_t none;
    sigemptyset(&none);
    sigset_t reset;
    sigemptyset(&reset);
    sigaddset(&reset, SIGPIPE);
    posix_spawnattr_setsigmask(&attr_, &none);
    posix_spawnattr_setsigdefault(&attr_, &reset);
    // A process group of the tool's own: stopping a job ends the tool and all it started.
    posix_spawnattr_setpgroup(&attr_, 0);
    posix_spawnattr_setflags(&attr_,
                             POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
  }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attr_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  const posix_spawnattr_t* get() const { return &attr_; }

 private:
  posix_spawnattr_t attr_;
};

bool DataReady(int fd) {
  pollfd p{fd, POLLIN, 0};
  return poll(&p, 1, 0) > 0;
}

// A descriptor that turns readable when the process ends (close-on-exec); -1 where the kernel
// has none. Called through syscall(): the C library's own declaration cannot be used from C++.
int WatchExit(pid_t pid) { return static_cast<int>(syscall(SYS_pidfd_open, pid, 0)); }

RunResult Ended(int status) {
  if (WIFEXITED(status)) return {RunResult::Ending::Exited, WEXITSTATUS(status)};
  return {RunResult::Ending::Signalled, WTERMSIG(status)};
}

// The child's wait status once it has exited (reaped now); nullopt while it runs. A child
// reaped elsewhere counts as exited with an unknown ending.
std::optional<int> Reaped(pid_t pid) {
  int status = 0;
  pid_t result;
  while ((result = waitpid(pid, &status, WNOHANG)) < 0 && errno == EINTR) {
  }
  if (result == 0) return std::nullopt;
  return result < 0 ? -1 : status;
}

// Ends the child's process group (the tool and whatever it started that stayed in it) and
// reaps the child if it was still running.
void EndGroup(pid_t pid, bool reaped) {
  kill(-pid, SIGKILL);
  if (reaped) return;
  while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

// Keeps the windows working until fd is readable or a round of events has run; fd -1 (nothing
// to watch) gives one slice.
void Wait(int fd, Waiter* events) {
  if (events != nullptr && fd >= 0) {
    events->waitForOutput(fd);
    return;
  }
  pollfd p{fd, POLLIN, 0};
  while (poll(&p, fd >= 0 ? 1 : 0, kWaitSliceMs) < 0 && errno == EINTR) {
  }
}

// Streams the child's output into output until the child has exited and its output has ended,
// and returns how it ended. Between reads the window events run and a stop request is looked
// at. Output that a process the child started keeps open is read for kLeftHolderGraceMs after
// the child's exit, no longer.
RunResult Supervise(pid_t pid, int readEnd, Output& output, const RunContext& context) {
  using Clock = std::chrono::steady_clock;
  std::vector<char> buffer(kReadSize);
  platform::AnsiStreamDecoder decoder;
  // Turns readable when the child exits: waited on once its output has ended.
  const int exitWatch = WatchExit(pid);
  bool outputOpen = true;
  std::optional<int> status;
  Clock::time_point exitedAt;
  RunResult result;
  while (true) {
    if (context.events != nullptr) context.events->processPendingEvents();
    if (context.stop != nullptr && context.stop->requested()) {
      EndGroup(pid, status.has_value());
      result = {RunResult::Ending::Stopped, 0};
      break;
    }
    if (!status && (status = Reaped(pid))) exitedAt = Clock::now();
    if (status && !outputOpen) {
      result = *status < 0 ? RunResult{} : Ended(*status);
      break;
    }
    if (status && Clock::now() - exitedAt >= std::chrono::milliseconds(kLeftHolderGraceMs)) {
      output.write(decoder.finish());
      output.write(std::string(kLeftHolderText) + std::string(kOutputLineEnd));
      result = *status < 0 ? RunResult{} : Ended(*status);
      break;
    }
    if (outputOpen && DataReady(readEnd)) {
      const ssize_t got = read(readEnd, buffer.data(), buffer.size());
      if (got < 0 && errno == EINTR) continue;
      if (got > 0) {
        output.write(decoder.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got))));
        continue;
      }
      outputOpen = false;
      output.write(decoder.finish());
      continue;
    }
    if (!outputOpen && exitWatch < 0 && context.events == nullptr) {
      // Nothing to watch the exit with and no windows to keep working: wait for it outright.
      int exitStatus = 0;
      while (waitpid(pid, &exitStatus, 0) < 0 && errno == EINTR) {
      }
      status = exitStatus;
      continue;
    }
    Wait(outputOpen ? readEnd : exitWatch, context.events);
  }
  if (exitWatch >= 0) close(exitWatch);
  return result;
}

// Starts program with args (program name first) writing into writeEnd; 0 or the reason it
// could not be started.
int Spawn(const std::string& program, const std::vector<std::string>& args, int writeEnd,
          const std::string* startFolder, pid_t& pid) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const std::string folder =
      startFolder != nullptr ? platform::Utf8ToAnsi(*startFolder) : std::string();
  SpawnActions actions;
  if (!actions.prepare(writeEnd, startFolder != nullptr ? &folder : nullptr)) return ENOMEM;
  SpawnAttributes attributes;
  return posix_spawn(&pid, program.c_str(), actions.get(), attributes.get(), argv.data(), environ);
}

}  // namespace

std::string FindProgram(std::string_view name, std::string_view appDir) {
  if (name.empty()) return {};
  if (name.find('/') != std::string_view::npos) return std::string(name);
  if (std::string found = FindIn(appDir, name); !found.empty()) return found;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  std::string_view rest(path);
  while (true) {
    const std::size_t end = rest.find(':');
    // An empty entry would mean the current directory, which is searched only when named.
    if (std::string found = FindIn(rest.substr(0, end), name); !found.empty()) return found;
    if (end == std::string_view::npos) return {};
    rest.remove_prefix(end + 1);
  }
}

RunResult ExecAndCapture(const CommandLine& sCommandLine, Output& output,
                         const std::string* sStartInFolder, const RunContext& context) {
  const std::vector<std::string> args = sCommandLine.convertedBy(platform::Utf8ToAnsi).args();
  if (args.empty()) {
    ReportStartFailure(output, "", ENOENT);
    return {};
  }
  if (HoldsNulByte(sCommandLine)) {
    ReportStartFailure(output, args[0], EINVAL);
    return {};
  }
  const std::string program = FindProgram(args[0], context.appDir);
  if (program.empty()) {
    ReportStartFailure(output, args[0], ENOENT, WhereItWasLookedFor(args[0], context.appDir));
    return {};
  }

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    ReportStartFailure(output, args[0], errno);
    return {};
  }
  const int readEnd = fds[0];
  const int writeEnd = fds[1];
  pid_t pid = -1;
  const int error = Spawn(program, args, writeEnd, sStartInFolder, pid);
  // From here on only the child (and whatever inherits from it) holds the write end, so the
  // pipe breaks when the last of them has closed it.
  close(writeEnd);
  if (error != 0) {
    close(readEnd);
    ReportStartFailure(output, args[0], error);
    return {};
  }

  const RunResult result = Supervise(pid, readEnd, output, context);
  close(readEnd);
  return result;
}

}  // namespace exec
