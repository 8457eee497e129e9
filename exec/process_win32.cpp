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

#include <string>
#include <vector>

#include "platform/codepage.h"

namespace exec {
namespace {

constexpr DWORD kReadSize = 10240;
constexpr int kStartAttempts = 3;

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

void ReportStartFailure(Output& output, const CommandLine& commandLine, DWORD error) {
  std::string line = "Cannot start \"";
  if (!commandLine.args().empty()) line += commandLine.args()[0];
  line += "\": " + SystemReason(error);
  line += kOutputLineEnd;
  output.write(line);
}

HANDLE OpenNulForChild() {
  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  return CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     OPEN_EXISTING, 0, nullptr);
}

bool DataReady(HANDLE pipe) {
  DWORD available = 0;
  // A broken pipe fails here too; the ReadFile that follows then ends the loop.
  if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return true;
  return available > 0;
}

void Stream(HANDLE readEnd, Output& output, Waiter* events) {
  std::vector<char> buffer(kReadSize);
  platform::AnsiStreamDecoder decoder;
  while (true) {
    if (events != nullptr) {
      events->processPendingEvents();
      if (!DataReady(readEnd)) events->waitForPipe(readEnd);
    }
    DWORD got = 0;
    if (!ReadFile(readEnd, buffer.data(), kReadSize, &got, nullptr)) break;
    const std::string text = decoder.feed(std::string_view(buffer.data(), got));
    output.write(text);
  }
  output.write(decoder.finish());
}

// The output has ended; the tool normally exits as it closes it. One that goes on running is
// waited for with the windows working, since how it ended is the run's outcome.
RunResult WaitForExit(HANDLE process, Waiter* events) {
  constexpr DWORD kSliceMs = 10;
  if (events == nullptr) {
    WaitForSingleObject(process, INFINITE);
  } else {
    for (;;) {
      const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, kSliceMs, QS_ALLINPUT);
      if (woke != WAIT_TIMEOUT && woke != WAIT_OBJECT_0 + 1) break;
      events->processPendingEvents();
    }
  }
  DWORD code = 0;
  if (!GetExitCodeProcess(process, &code)) return {};
  return {RunResult::Ending::Exited, static_cast<int>(code)};
}

}  // namespace

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
    started =
        CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       sStartInFolder != nullptr ? folder.c_str() : nullptr, &startup, &process);
    startError = started ? 0 : GetLastError();
    if (startError != ERROR_INTERNAL_ERROR) break;
  }
  CloseHandle(writeEnd);
  if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
  if (!started) {
    CloseHandle(readEnd);
    ReportStartFailure(output, sCommandLine, startError);
    return {};
  }
  CloseHandle(process.hThread);

  Stream(readEnd, output, context.events);
  CloseHandle(readEnd);
  const RunResult result = WaitForExit(process.hProcess, context.events);
  CloseHandle(process.hProcess);
  return result;
}

}  // namespace exec
