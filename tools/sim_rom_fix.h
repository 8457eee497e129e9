// The ROM fixes of the simulator, each made on a copy of the ROM (the original is never
// written), as the tool makes them:
//   --1991  the two game names (48 bytes each at 0x120 and 0x150) become "(C) SEGA" and
//           "(C)SEGA", blank-padded, which the start-up check of the console's 1991 models
//           looks for;
//   --pad   the ROM is padded with 0x00 to the next whole Mbit (131,072 bytes) above its size:
//           a ROM of whole Mbit gains one;
//   --chk   the header checksum: the 16-bit big-endian sum of the words from 0x200 to the end
//           (a last odd byte counts as a word's high byte), stored big-endian at 0x18E.
// The tool takes the console from the ROM itself unless --gen says Genesis: a ROM without
// "SEGA" at 0x100 is taken for a Super Nintendo ROM, and --chk then writes that console's
// checksum into its header at 0x7FDC (the complement, then the sum of every byte, counting
// those four as FF FF 00 00; both 16-bit little-endian) and leaves 0x18E as it was.
// --1991 and --chk leave a ROM too short for the whole header (0x200 bytes) as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tools/sim_command.h"

namespace sim {

class Console;

constexpr std::size_t kHeaderSize = 0x200;
constexpr std::size_t kChecksumOffset = 0x18E;
constexpr std::size_t kConsoleNameOffset = 0x100;
constexpr std::size_t kMbit = 128u << 10;
constexpr std::size_t kOtherConsoleChecksum = 0x7FDC;

std::uint16_t GenesisChecksum(const std::string& rom);
// Makes the fix named by action ("--1991", "--pad", "--chk") on rom; genesis: --gen was given.
void ApplyRomFix(const std::string& action, bool genesis, std::string& rom);

// Writes the fixed copy named like command.file into the "-o=" folder (the current directory
// without one); an existing file of that name is first renamed to "<base>.bak". Returns the
// exit code.
int RunFix(const Command& command, Console& console);

}  // namespace sim
