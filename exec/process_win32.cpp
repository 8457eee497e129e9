// Windows: the tool is started with CreateProcessA, which takes the program from the first word
// of the command line and finds it by the system's own search (application directory first).
// The argument list becomes that one line by the C runtime's quoting rules, so the tool's
// start-up code splits it back into the same arguments.
// Its standard output and standard error are the write end of one anonymous pipe; its standard
// input is NUL, so a tool that asks for input gets end-of-file at once instead of hanging. Only
// the write end and the NUL handle are inheritable: our read end must not live on in the child,
// or the pipe would never break. A message about a tool that cannot be started ends with
// "\r\n", the line ending of this platform's output box.
#include "exec/process.h"

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/codepage.h"

namespace exec {
namespace {

constexpr DWORD kReadSize = 10240;
constexpr int kStartAttempts = 3;

// Whether name holds a directory, so that the system takes it as a path and does not search.
bool HoldsDirectory(std::string_view name) {
  return name.find_first_of("\\/:") != std::string_view::npos;
}

// The end of the line for a bare program name found nowhere: where the system's own search
// looked for it, and where to put it.
std::string WhereItWasLookedFor(std::string_view name, std::string_view appDir) {
  const std::string dir(appDir);
  return "; looked for in the application directory (" + dir +
         "), the current directory, the system directories, then the directories of PATH: "
         "put " + std::string(name) + " into " + dir;
}

std::string SystemReason(DWORD error) {
  char* message = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string reason = length > 0 ? std::string(message, length) : "error " + std::to_string(error);
  if (message != nullptr) LocalFree(message);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  return platform::AnsiToUtf8(reason);
}

void ReportStartFailure(Output& output, const CommandLine& commandLine, DWORD error,
                        std::string_view advice = {}) {
  std::string line = "Cannot start \"";
  if (!commandLine.args().empty()) line += commandLine.args()[0];
  line += "\": " + SystemReason(error);
  line += advice;
  line += kOutputLineEnd;
  output.write(line);
}

HANDLE OpenNulForChild() {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     OPEN_EXISTING, 0, nullptr);
}

RunResult ExitOf(HANDLE process) {
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code)) return {};
  return {RunResult::Ending::Exited, static_cast<int>(code)};
}

// Ends the tool and everything it started: the job object holds them all. Where the tool
// could not be put in one (an older Windows running the program inside a job of its own),
// only the tool itself is ended.
void EndAll(HANDLE job, HANDLE process) {
  constexpr UINT kStoppedCode = 1;
  if (job == nullptr || !TerminateJobObject(job, kStoppedCode)) {
    TerminateProcess(process, kStoppedCode);
  }
  WaitForSingleObject(process, INFINITE);
}

// Keeps the windows working until the process has exited or a round of events has run.
void WaitForProcess(HANDLE process, Waiter* events) {
  if (events == nullptr) {
    WaitForSingleObject(process, kWaitSliceMs);
    return;
  }
  MsgWaitForMultipleObjects(1, &process, FALSE, kWaitSliceMs, QS_ALLINPUT);
}

// Streams the tool's output into output until the tool has exited and its output has ended,
// and returns how it ended. Between reads the window events run and a stop request is looked
// at. Output that a process the tool started keeps open is read for kLeftHolderGraceMs after
// the tool's exit, no longer.
RunResult Supervise(HANDLE process, HANDLE job, HANDLE readEnd, Output& output,
                    const RunContext& context) {
  using Clock = std::chrono::steady_clock;
  std::vector<char> buffer(kReadSize);
  platform::AnsiStreamDecoder decoder;
  Waiter* events = context.events;
  bool outputOpen = true;
  bool exited = false;
  Clock::time_point exitedAt;
  while (true) {
    if (events != nullptr) events->processPendingEvents();
    if (context.stop != nullptr && context.stop->requested()) {
      EndAll(job, process);
      return {RunResult::Ending::Stopped, 0};
    }
    if (!exited && WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
      exited = true;
      exitedAt = Clock::now();
    }
    if (exited && !outputOpen) return ExitOf(process);
    if (exited && Clock::now() - exitedAt >= std::chrono::milliseconds(kLeftHolderGraceMs)) {
      output.write(decoder.finish());
      output.write(std::string(kLeftHolderText) + std::string(kOutputLineEnd));
      return ExitOf(process);
    }
    if (outputOpen && PipeReady(readEnd)) {
      DWORD got = 0;
      if (ReadFile(readEnd, buffer.data(), kReadSize, &got, nullptr)) {
        output.write(decoder.feed(std::string_view(buffer.data(), got)));
      } else {
        outputOpen = false;
        output.write(decoder.finish());
      }
      continue;
    }
    if (outputOpen && events != nullptr) {
      events->waitForOutput(readEnd);
    } else {
      WaitForProcess(process, events);
    }
  }
}

}  // namespace

bool PipeReady(PipeEnd pipe) {
  DWORD available = 0;
  // A broken pipe fails here too; the ReadFile that follows then ends the reading.
  if (!PeekNamedPipe(static_cast<HANDLE>(pipe), nullptr, 0, nullptr, &available, nullptr)) {
    return true;
  }
  return available > 0;
}

RunResult ExecAndCapture(const CommandLine& sCommandLine, Output& output,
                         const std::string* sStartInFolder, const RunContext& context) {
  if (HoldsNulByte(sCommandLine)) {
    ReportStartFailure(output, sCommandLine, ERROR_INVALID_PARAMETER);
    return {};
  }
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) {
    ReportStartFailure(output, sCommandLine, GetLastError());
    return {};
  }
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  HANDLE input = OpenNulForChild();

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  startup.hStdInput = input != INVALID_HANDLE_VALUE ? input : nullptr;

  // Each argument is converted on its own before the line is written: the quoting must see the
  // bytes the tool will see. CreateProcessA may write into the line, so it gets a copy.
  const std::string commandLine =
      FlattenCommandLine(sCommandLine.convertedBy(platform::Utf8ToAnsi));
  const std::string folder =
      sStartInFolder != nullptr ? platform::Utf8ToAnsi(*sStartInFolder) : std::string();

  // Wine reports a child that died while it was being loaded, before any of its own code ran,
  // as an internal error; on a busy machine that happens now and then. The tool has done
  // nothing then, so starting it again is safe.
  PROCESS_INFORMATION process{};
  BOOL started = FALSE;
  DWORD startError = 0;
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    started = CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED,
                             nullptr, sStartInFolder != nullptr ? folder.c_str() : nullptr,
                             &startup, &process);
    startError = started ? 0 : GetLastError();
    if (startError != ERROR_INTERNAL_ERROR) break;
  }
  CloseHandle(writeEnd);
  if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
  if (!started) {
    CloseHandle(readEnd);
    const std::string& program = sCommandLine.args().empty() ? "" : sCommandLine.args()[0];
    const bool searched = startError == ERROR_FILE_NOT_FOUND && !program.empty() &&
                          !HoldsDirectory(program);
    ReportStartFailure(output, sCommandLine, startError,
                       searched ? WhereItWasLookedFor(program, context.appDir) : std::string());
    return {};
  }
  // Started suspended and put in a job object of its own before it runs: whatever it starts
  // from its first instruction on belongs to the job, so a stop ends them all.
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  if (job != nullptr && !AssignProcessToJobObject(job, process.hProcess)) {
    CloseHandle(job);
    job = nullptr;
  }
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);

  const RunResult result = Supervise(process.hProcess, job, readEnd, output, context);
  CloseHandle(readEnd);
  CloseHandle(process.hProcess);
  if (job != nullptr) CloseHandle(job);
  return result;
}

}  // namespace exec
