// The tool's command lines from any path and port text without a double quote or a blank:
// split again as the runner splits them, the path arrives as one argument, whole.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exec/process.h"
#include "exec/tool_commands.h"
#include "ui/filesystem.h"

namespace {

bool Contains(const std::vector<std::string>& args, const std::string& piece) {
  for (const std::string& a : args)
    if (a == piece) return true;
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::size_t cut = input.find('\n');
  std::string path = input.substr(0, cut);
  std::string port = cut == std::string::npos ? "378" : input.substr(cut + 1);
  if (path.empty() || path.find('"') != std::string::npos) return 0;
  if (port.find_first_of("\" \t") != std::string::npos) return 0;

  exec::RomOptions options;
  const std::string commands[] = {
      exec::SingleFlashCommand(path, port, options),
      exec::MultiBuildCommand("64", {path, path}, "/app"),
  };
  for (const std::string& command : commands) {
    if (!Contains(exec::SplitCommandLine(command), path)) std::abort();
  }
  // The SRAM file goes to the tool as the folder joined with the name, in one argument.
  if (!Contains(exec::SplitCommandLine(exec::SramCommand("1", port, path, "/saves")),
                ui::JoinPath("/saves", path))) {
    std::abort();
  }
  return 0;
}
