// The ucon64 command lines the program builds, piece by piece and exactly as the tool
// expects them. Each piece is one argument of the tool, whatever it holds: nothing in a path or
// the port text can split it or start another option. Nothing is trimmed or checked.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exec/command_line.h"

namespace exec {

// The ROM option boxes; only the value 1 adds a flag.
struct RomOptions {
  int fixUnlicensed = 0;  // "--1991"
  int fixChecksum = 0;    // "--chk"
  int enforceGenesis = 0; // "--gen"
  int padRom = 0;         // "--pad"
};

// The flags of the ticked boxes, in fixed order.
std::vector<std::string> RomFlags(const RomOptions& options);

// The port digits for "--port=0x" from what the user typed: blanks around it and one leading
// "0x" or "0X" removed, 1 to 4 hexadecimal digits are left, of a value of at least 0x100 (a
// parallel port sits at 278, 378, 3BC or higher; below 0x100 lie the system's own devices).
// nullopt for anything else: the tool reads junk as port 0.
std::optional<std::string> PortDigits(std::string_view typed);
// The line for the output box saying that typed is no parallel-port address.
std::string NotAPortAddress(std::string_view typed);

// The flash commands end with a blank on the Windows line; paths stand in double quotes there.
CommandLine SingleFlashCommand(std::string_view romPath, std::string_view port,
                               const RomOptions& options);
// size is "32" or "64".
CommandLine MultiBuildCommand(std::string_view size, const std::vector<std::string>& romPaths,
                              std::string_view appDir);
CommandLine MultiFlashCommand(std::string_view port, const RomOptions& options);
// One ROM fix ("--1991", "--pad" or "--chk") made by the tool on romPath, always as a Genesis
// ROM (--gen): it writes the fixed copy, named like the ROM, into outDir and leaves the ROM
// itself alone.
CommandLine RomFixCommand(std::string_view fix, std::string_view romPath, std::string_view outDir);
// The file goes to the tool as its full path, the directory joined with the name: the tool
// opens it as given, relative to its own working directory, and ignores -o= for it.
CommandLine SramCommand(std::string_view slot, std::string_view port, std::string_view fileName,
                        std::string_view directory);

}  // namespace exec
