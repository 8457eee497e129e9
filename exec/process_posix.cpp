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
#include <cstring>
#include <vector>

#include "platform/codepage.h"

extern char** environ;

namespace exec {
namespace {

constexpr std::size_t kReadSize = 10240;

void ReportStartFailure(Output& output, std::string_view program, int error) {
  std::string line = "Cannot start \"";
  line += program;
  line += "\": ";
  line += std::strerror(error);
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
    posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
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

// The output has ended; the child normally exits as it closes it. One that goes on running is
// waited for with the windows working (its pidfd turns readable when it exits), since how it
// ended is the run's outcome. Without a pidfd or an event loop the wait blocks.
RunResult WaitForExit(pid_t pid, Waiter* events) {
  const int exitWatch = events != nullptr ? WatchExit(pid) : -1;
  int status = 0;
  pid_t result;
  while (true) {
    result = waitpid(pid, &status, exitWatch >= 0 ? WNOHANG : 0);
    if (result < 0 && errno == EINTR) continue;
    if (result != 0) break;
    events->processPendingEvents();
    events->waitReadable(exitWatch);
  }
  if (exitWatch >= 0) close(exitWatch);
  if (result < 0) return {};  // reaped elsewhere: how it ended is unknown
  if (WIFEXITED(status)) return {RunResult::Ending::Exited, WEXITSTATUS(status)};
  return {RunResult::Ending::Signalled, WTERMSIG(status)};
}

void Stream(int readEnd, Output& output, Waiter* events) {
  std::vector<char> buffer(kReadSize);
  platform::AnsiStreamDecoder decoder;
  while (true) {
    if (events != nullptr) {
      events->processPendingEvents();
      if (!DataReady(readEnd)) events->waitReadable(readEnd);
    }
    const ssize_t got = read(readEnd, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    const std::string text =
        decoder.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    output.write(text);
  }
  output.write(decoder.finish());
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
    ReportStartFailure(output, args[0], ENOENT);
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

  Stream(readEnd, output, context.events);
  close(readEnd);
  return WaitForExit(pid, context.events);
}

}  // namespace exec
