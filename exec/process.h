// The captured process runner: the one routine that starts the external tool.
#pragma once

#include <string>
#include <string_view>

#include "exec/command_line.h"

namespace exec {

// How the program ends a line of its own in the output box: the box's native line end.
#ifdef _WIN32
inline constexpr std::string_view kOutputLineEnd = "\r\n";
#else
inline constexpr std::string_view kOutputLineEnd = "\n";
#endif

// Where the tool's output goes: text in the program's UTF-8, piece by piece as it arrives.
class Output {
 public:
  virtual ~Output() = default;
  virtual void write(std::string_view text) = 0;
};

// What waiting for a child's output needs from the window system, which implements it.
class Waiter {
 public:
  virtual ~Waiter() = default;
  // Runs the window events that are pending at this moment, once ("DoEvents").
  virtual void processPendingEvents() = 0;
#ifdef _WIN32
  // Keeps the windows working until pipe (an anonymous pipe's read handle) has data to read or
  // has broken.
  virtual void waitForPipe(void* pipe) = 0;
#else
  // Keeps the windows working until fd is readable (data, end of file or error).
  virtual void waitReadable(int fd) = 0;
#endif
};

// How a run of the tool ended, as the system reported it to the runner.
struct RunResult {
  enum class Ending {
    Exited,      // the tool ended itself; code is its exit code
    NotStarted,  // the tool could not be started; a line in the output says why
    Signalled,   // ended by a signal (POSIX); code is the signal
    Stopped,     // the user stopped the job
  };
  Ending ending = Ending::NotStarted;
  // On Windows the code is the process's exit code as the system keeps it, so a crash's status
  // (0xC0000005 and the like) comes back as that value, cast to int.
  int code = 0;
};

struct RunContext {
  std::string appDir;        // searched first for the program, as Windows does
  Waiter* events;            // keeps the windows working while the call waits for output
};

// Runs sCommandLine (program name first, each argument as the child is to receive it) as a
// hidden child with standard output and standard error on one pipe and no standard input, and
// passes each chunk it writes to output. sStartInFolder null: the child
// starts in the current directory. Returns when every writer has closed the pipe and the
// child has exited (the windows keep working while it is waited for), with how it ended.
// When the program cannot be started, one line naming it and the system's reason goes to
// output and the result is NotStarted; so it is, and nothing is started, when an argument
// holds a NUL byte.
RunResult ExecAndCapture(const CommandLine& sCommandLine, Output& output,
                    const std::string* sStartInFolder, const RunContext& context);

// Where a bare program name is found: the application directory first, then each directory
// of PATH. A name with a separator is taken as it is. Empty when it is found nowhere.
std::string FindProgram(std::string_view name, std::string_view appDir);

}  // namespace exec
