// The ucon64 command lines the program builds, piece by piece and exactly as the tool
// expects them. Paths are quoted; nothing else is escaped, trimmed or checked.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace exec {

// The ROM option boxes; only the value 1 adds a flag.
struct RomOptions {
  int fixUnlicensed = 0;  // "--1991 "
  int fixChecksum = 0;    // "--chk "
  int enforceGenesis = 0; // "--gen "
  int padRom = 0;         // "--pad "
};

// Each flag with its own trailing space, in fixed order.
std::string RomFlags(const RomOptions& options);

// path between double-quote characters. On Windows a trailing backslash is doubled before the
// closing quote, so that "c:\" does not turn into an escaped quote for the tool.
std::string QuotePath(std::string_view path);

std::string SingleFlashCommand(std::string_view romPath, std::string_view port,
                               const RomOptions& options);
// size is "32" or "64".
std::string MultiBuildCommand(std::string_view size, const std::vector<std::string>& romPaths,
                              std::string_view appDir);
std::string MultiFlashCommand(std::string_view port, const RomOptions& options);
// One ROM fix ("--1991", "--pad" or "--chk") made by the tool on romPath: it writes the fixed
// copy, named like the ROM, into outDir and leaves the ROM itself alone.
std::string RomFixCommand(std::string_view fix, std::string_view romPath, std::string_view outDir);
// The file goes to the tool as its full path, the directory joined with the name: the tool
// opens it as given, relative to its own working directory, and ignores -o= for it.
std::string SramCommand(std::string_view slot, std::string_view port, std::string_view fileName,
                        std::string_view directory);

}  // namespace exec
