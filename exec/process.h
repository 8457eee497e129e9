// The captured process runner: the one routine that starts the external tool.
#pragma once

#include <string>
#include <string_view>

#include "exec/command_line.h"

namespace ui {
class TextBox;
class EventLoop;
}  // namespace ui

namespace exec {

// How the program ends a line of its own in the output box: the box's native line end.
#ifdef _WIN32
inline constexpr std::string_view kOutputLineEnd = "\r\n";
#else
inline constexpr std::string_view kOutputLineEnd = "\n";
#endif

struct RunContext {
  std::string appDir;        // searched first for the program, as Windows does
  ui::EventLoop* events;     // keeps the windows working while the call waits for output
};

// Runs sCommandLine (program name first, each argument as the child is to receive it) as a
// hidden child with standard output and standard error on one pipe and no standard input, and
// inserts each chunk it writes into cTextBox at the caret. sStartInFolder null: the child
// starts in the current directory. Returns when every writer has closed the pipe; reads no
// exit code. When the program cannot be started, one line naming it and the system's reason
// goes into the box; so it does, and nothing is started, when an argument holds a NUL byte.
void ExecAndCapture(const CommandLine& sCommandLine, ui::TextBox& cTextBox,
                    const std::string* sStartInFolder, const RunContext& context);

// Where a bare program name is found: the application directory first, then each directory
// of PATH. A name with a separator is taken as it is. Empty when it is found nowhere.
std::string FindProgram(std::string_view name, std::string_view appDir);

}  // namespace exec
