// The ucon64 command lines, one argument per piece the tool expects.
#include "exec/tool_commands.h"

#include "platform/path_text.h"

namespace exec {
namespace {

constexpr std::string_view kTool = "ucon64";

std::string PortArgument(std::string_view port) {
  std::string arg = "--port=0x";
  arg += port;
  return arg;
}

void AddRomFlags(CommandLine& command, const RomOptions& options) {
  for (const std::string& flag : RomFlags(options)) command.add(flag);
}

}  // namespace

std::optional<std::string> PortDigits(std::string_view typed) {
  constexpr std::string_view kBlanks = " \t";
  const std::size_t first = typed.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return std::nullopt;
  std::string_view digits = typed.substr(first, typed.find_last_not_of(kBlanks) - first + 1);
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
    digits.remove_prefix(2);
  if (digits.empty() || digits.size() > 4) return std::nullopt;
  unsigned value = 0;
  for (char c : digits) {
    const int digit = c >= '0' && c <= '9'   ? c - '0'
                      : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                             : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(digit);
  }
  if (value < 0x100) return std::nullopt;
  return std::string(digits);
}

std::string NotAPortAddress(std::string_view typed) {
  return "The port \"" + std::string(typed) +
         "\" is not a parallel-port address (such as 378, 278 or 3BC)";
}

std::vector<std::string> RomFlags(const RomOptions& options) {
  std::vector<std::string> flags;
  if (options.fixUnlicensed == 1) flags.emplace_back("--1991");
  if (options.fixChecksum == 1) flags.emplace_back("--chk");
  if (options.enforceGenesis == 1) flags.emplace_back("--gen");
  if (options.padRom == 1) flags.emplace_back("--pad");
  return flags;
}

CommandLine SingleFlashCommand(std::string_view romPath, std::string_view port,
                               const RomOptions& options) {
  CommandLine command;
  command.add(kTool).add("--xmd").addPath("", romPath).add(PortArgument(port));
  AddRomFlags(command, options);
  command.endWithBlank();
  return command;
}

CommandLine MultiBuildCommand(std::string_view size, const std::vector<std::string>& romPaths,
                              std::string_view appDir) {
  CommandLine command;
  command.add(kTool).add("-q").add("--multi=" + std::string(size)).add("multigam.bin");
  for (const std::string& path : romPaths) command.addPath("", path);
  command.add("TEMP.BIN").addPath("-o=", appDir);
  return command;
}

CommandLine MultiFlashCommand(std::string_view port, const RomOptions& options) {
  CommandLine command;
  command.add(kTool).add("--xmd").add("TEMP.BIN").add(PortArgument(port));
  AddRomFlags(command, options);
  command.endWithBlank();
  return command;
}

CommandLine RomFixCommand(std::string_view fix, std::string_view romPath, std::string_view outDir) {
  CommandLine command;
  // Without --gen the tool guesses the console from the ROM, and takes a Genesis game without
  // "SEGA" at 0x100 for another console's: the fix would then write that console's checksum
  // into the game. The cartridge takes Genesis games only.
  command.add(kTool).add("--gen").add(fix).addPath("", romPath).addPath("-o=", outDir);
  return command;
}

CommandLine SramCommand(std::string_view slot, std::string_view port, std::string_view fileName,
                        std::string_view directory) {
  // A bare name would make the tool send or overwrite a file of that name in the application
  // directory instead of the one the user chose.
  CommandLine command;
  command.add(kTool).add("--xmdb=" + std::string(slot)).add(PortArgument(port));
  command.addPath("", platform::JoinPath(directory, fileName)).addPath("-o=", directory);
  return command;
}

}  // namespace exec
