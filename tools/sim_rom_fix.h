// The ROM fixes of the simulator, each made on a copy of the ROM (the original is never
// written):
//   --1991  the console name field (16 bytes at 0x100) becomes "SEGA GENESIS    ", the name
//           the console's start-up check looks for, which unlicensed games lack;
//   --pad   the ROM is padded with 0x00 to a whole number of Mbit (131,072 bytes); a ROM of
//           whole Mbit stays as it is;
//   --chk   the header checksum: the 16-bit big-endian sum of the words from 0x200 to the end
//           (a last odd byte counts as a word's high byte), stored big-endian at 0x18E.
// --1991 and --chk need the whole header (0x200 bytes).
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

std::uint16_t GenesisChecksum(const std::string& rom);
// Makes the fix named by action ("--1991", "--pad", "--chk") on rom; false with error set
// when rom is too short for it.
bool ApplyRomFix(const std::string& action, std::string& rom, std::string& error);

// Writes the fixed copy named like command.file into the "-o=" folder (the current directory
// without one); an existing file of that name is first renamed to "<base>.bak". Returns the
// exit code.
int RunFix(const Command& command, Console& console);

}  // namespace sim
