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

// The read end of the pipe the tool's output comes through: a descriptor, or on Windows an
// anonymous pipe's handle.
#ifdef _WIN32
using PipeEnd = void*;
// True when pipe has data to read or has broken (the read that follows then reports the end).
// An anonymous pipe is no waitable object: every wait for one polls this between slices.
bool PipeReady(PipeEnd pipe);
#else
using PipeEnd = int;
#endif

// What waiting for a child's output needs from the window system, which implements it.
class Waiter {
 public:
  virtual ~Waiter() = default;
  // Runs the window events that are pending at this moment, once ("DoEvents").
  virtual void processPendingEvents() = 0;
  // Keeps the windows working until pipe has data to read, has ended or has failed, or until
  // one round of window events has run, or for kWaitSliceMs at most: the caller then looks
  // again at what it waits for (the tool may have exited, the user may have asked to stop the
  // run) and waits again.
  virtual void waitForOutput(PipeEnd pipe) = 0;
};

inline constexpr int kWaitSliceMs = 100;

// A request from the window to end the run in progress, the tool and everything it started.
// The runner looks at it between window events; the window clears it before the next run.
class StopRequest {
 public:
  void request() { requested_ = true; }
  void clear() { requested_ = false; }
  bool requested() const { return requested_; }

 private:
  bool requested_ = false;
};

// How long the output is still read once the tool has exited while a process it started keeps
// the output open: a helper left running must not hold the window for ever.
inline constexpr int kLeftHolderGraceMs = 2000;

// The line the runner writes when it stops reading such output (without its line end).
inline constexpr std::string_view kLeftHolderText =
    "The tool has ended, but a program it started still holds its output; that output is no "
    "longer shown.";

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
  const StopRequest* stop = nullptr;  // looked at between window events; null: never stopped
};

// Runs sCommandLine (program name first, each argument as the child is to receive it) as a
// hidden child with standard output and standard error on one pipe and no standard input, and
// passes each chunk it writes to output. sStartInFolder null: the child
// starts in the current directory. Returns when the child has exited and every writer has
// closed the pipe (the windows keep working meanwhile), with how it ended; output still open
// kLeftHolderGraceMs after the child's exit is no longer read (a line says so). The child runs
// in a process group (POSIX) or job object (Windows) of its own: a stop request ends it and
// everything it started, and the result is Stopped.
// When the program cannot be started, one line naming it and the system's reason goes to
// output and the result is NotStarted; so it is, and nothing is started, when an argument
// holds a NUL byte.
RunResult ExecAndCapture(const CommandLine& sCommandLine, Output& output,
                    const std::string* sStartInFolder, const RunContext& context);

#ifndef _WIN32
// Where a bare program name is found: the application directory first, then each directory
// of PATH (Windows does its own search, in CreateProcessA). A name with a separator is taken
// as it is. Empty when it is found nowhere.
std::string FindProgram(std::string_view name, std::string_view appDir);
#endif

}  // namespace exec
