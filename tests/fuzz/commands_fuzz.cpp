// The tool's command lines from any path and port text: the path arrives as one argument,
// whole, the Windows line splits back into the same arguments, and for plain input that line
// is the one the tool has always been given.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exec/command_line.h"
#include "exec/tool_commands.h"
#include "platform/path_text.h"
#include "support/crt_args.h"

namespace {

bool Contains(const std::vector<std::string>& args, const std::string& piece) {
  for (const std::string& a : args)
    if (a == piece) return true;
  return false;
}

void CheckWindowsLine(const exec::CommandLine& command) {
  const std::string line = exec::FlattenCommandLine(command);
  using testing_support::CrtRuntime;
  for (CrtRuntime runtime : {CrtRuntime::kOlder, CrtRuntime::kNewer}) {
    if (testing_support::SplitLikeCrt(line, runtime) != command.args()) std::abort();
  }
}

// Nothing on the line the C runtime would read in another way than the plain join did.
bool Plain(std::string_view path, std::string_view port) {
  if (path.find('"') != std::string_view::npos) return false;
  if (port.find_first_of("\" \t") != std::string_view::npos) return false;
  return path.empty() || path.back() != '\\';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  if (input.find('\0') != std::string::npos) return 0;  // no argument can hold one
  std::size_t cut = input.find('\n');
  std::string path = input.substr(0, cut);
  std::string port = cut == std::string::npos ? "378" : input.substr(cut + 1);

  exec::RomOptions options{1, 0, 1, 0};
  const exec::CommandLine single = exec::SingleFlashCommand(path, port, options);
  const exec::CommandLine multi = exec::MultiBuildCommand("64", {path, path}, path);
  const exec::CommandLine flash = exec::MultiFlashCommand(port, options);
  const exec::CommandLine sram = exec::SramCommand("1", port, path, "/saves");
  for (const exec::CommandLine* command : {&single, &multi, &flash, &sram}) {
    CheckWindowsLine(*command);
  }
  if (!Contains(single.args(), path) || !Contains(multi.args(), path)) std::abort();
  if (!Contains(multi.args(), "-o=" + path)) std::abort();
  if (!Contains(single.args(), "--port=0x" + port)) std::abort();
  // The SRAM file goes to the tool as the folder joined with the name, in one argument.
  if (!Contains(sram.args(), platform::JoinPath("/saves", path))) std::abort();

  if (Plain(path, port)) {
    const std::string joined = "ucon64 --xmd \"" + path + "\" --port=0x" + port + " --1991 --gen ";
    if (exec::FlattenCommandLine(single) != joined) std::abort();
    const std::string sramJoined = "ucon64 --xmdb=1 --port=0x" + port + " \"" +
                                   platform::JoinPath("/saves", path) + "\" -o=\"/saves\"";
    if (exec::FlattenCommandLine(sram) != sramJoined) std::abort();
  }
  return 0;
}
