// The ucon64 command lines, joined from their pieces exactly as the tool expects them.
#include "exec/tool_commands.h"

#include "ui/filesystem.h"

namespace exec {
namespace {

#ifdef _WIN32
// The tool's start-up code reads a backslash right before a double quote as an escape for that
// quote; "c:\" would swallow the closing quote and everything after it.
constexpr bool kDoubleTrailingBackslash = true;
#else
constexpr bool kDoubleTrailingBackslash = false;
#endif

}  // namespace

std::string RomFlags(const RomOptions& options) {
  std::string flags;
  if (options.fixUnlicensed == 1) flags += "--1991 ";
  if (options.fixChecksum == 1) flags += "--chk ";
  if (options.enforceGenesis == 1) flags += "--gen ";
  if (options.padRom == 1) flags += "--pad ";
  return flags;
}

std::string QuotePath(std::string_view path) {
  std::string quoted = "\"";
  quoted += path;
  if (kDoubleTrailingBackslash && !path.empty() && path.back() == '\\') quoted += '\\';
  quoted += '"';
  return quoted;
}

std::string SingleFlashCommand(std::string_view romPath, std::string_view port,
                               const RomOptions& options) {
  std::string command = "ucon64 --xmd " + QuotePath(romPath) + " --port=0x";
  command += port;
  command += " " + RomFlags(options);
  return command;
}

std::string MultiBuildCommand(std::string_view size, const std::vector<std::string>& romPaths,
                              std::string_view appDir) {
  std::string command = "ucon64 -q --multi=";
  command += size;
  command += " multigam.bin";
  for (const std::string& path : romPaths) command += " " + QuotePath(path);
  command += " TEMP.BIN -o=" + QuotePath(appDir);
  return command;
}

std::string MultiFlashCommand(std::string_view port, const RomOptions& options) {
  std::string command = "ucon64 --xmd TEMP.BIN --port=0x";
  command += port;
  command += " " + RomFlags(options);
  return command;
}

std::string RomFixCommand(std::string_view fix, std::string_view romPath, std::string_view outDir) {
  std::string command = "ucon64 ";
  command += fix;
  command += " " + QuotePath(romPath) + " -o=" + QuotePath(outDir);
  return command;
}

std::string SramCommand(std::string_view slot, std::string_view port, std::string_view fileName,
                        std::string_view directory) {
  // The file is quoted like every other path: unquoted, a name with a blank would reach the
  // tool as several arguments. A bare name would make the tool send or overwrite a file of
  // that name in the application directory instead of the one the user chose.
  std::string command = "ucon64 --xmdb=";
  command += slot;
  command += " --port=0x";
  command += port;
  command += " " + QuotePath(ui::JoinPath(directory, fileName)) + " -o=" + QuotePath(directory);
  return command;
}

}  // namespace exec
