// The ucon64 command lines, one argument per piece the tool expects.
#include "exec/tool_commands.h"

#include "platform/filesystem.h"

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
  command.add(kTool).add(fix).addPath("", romPath).addPath("-o=", outDir);
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
