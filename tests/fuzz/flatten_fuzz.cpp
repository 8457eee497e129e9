// Any list of arguments: the Windows line written from it is split by the tool's C runtime (the
// older and the newer one) into the same list. The input holds the pieces separated by NUL
// bytes, the first one the program name; a piece with a byte 1 in it is a path, the part
// before that byte its prefix; a leading byte 2 ends the line with a blank.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exec/command_line.h"
#include "support/crt_args.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  exec::CommandLine command;
  bool blank = false;
  if (!input.empty() && input.front() == '\x02') {
    blank = true;
    input.remove_prefix(1);
  }
  bool first = true;
  while (true) {
    const std::size_t end = input.find('\0');
    std::string piece(input.substr(0, end));
    if (first) {
      // No Windows file name holds a double quote.
      std::erase(piece, '"');
      command.add(piece);
      first = false;
    } else if (const std::size_t mark = piece.find('\x01'); mark != std::string::npos) {
      command.addPath(std::string_view(piece).substr(0, mark),
                      std::string_view(piece).substr(mark + 1));
    } else {
      command.add(piece);
    }
    if (end == std::string_view::npos) break;
    input.remove_prefix(end + 1);
  }
  if (blank) command.endWithBlank();

  const std::string line = exec::FlattenCommandLine(command);
  using testing_support::CrtRuntime;
  for (CrtRuntime runtime : {CrtRuntime::kOlder, CrtRuntime::kNewer}) {
    if (testing_support::SplitLikeCrt(line, runtime) != command.args()) std::abort();
  }
  return 0;
}
