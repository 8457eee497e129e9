// The simulated cartridge: a 64 Mbit flash and the SRAM kept as files in one folder, the same
// files the emulated cartridge of the real tool's test build keeps, and the jobs of the tool's
// actions run against them as the tool (release 2.2.1) runs them:
//   telvo-sim-flash.bin  8 MiB as the console reads it; erased flash reads 0xFF
//   telvo-sim-sram.bin   256 KiB at the addresses the tool sends: it writes every save byte
//                        twice, so slot N's 32 KiB lie in the 64 KiB from (N - 1) * 32 KiB,
//                        and a save of any size runs on into the slots after it
// The cartridge answers at one port, 0x378 (TELVO_CARTRIDGE_PORT, hexadecimal, moves it).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "tools/sim_command.h"

namespace sim {

constexpr std::size_t kFlashSize = 8u << 20;  // 64 Mbit
constexpr std::size_t kSramSize = 256u << 10;
constexpr std::size_t kSlotSize = 32u << 10;
constexpr std::size_t kLoaderSize = 128u << 10;
constexpr std::size_t kGameAlignment = 256u << 10;  // games start on 2 Mbit boundaries
constexpr std::size_t kMaxGames = 31;
constexpr unsigned kCartridgePort = 0x378;
// Of a save written with corruptWrite, every byte at a multiple of this offset is inverted.
constexpr std::size_t kCorruptionStride = 4096;

// Where messages go, as with the tool: "ERROR:" and "NOTE:" lines to standard error, written
// at once, the rest ("WARNING:" lines, information, progress) to standard output, which a pipe
// receives only when the buffer is full or the run ends.
class Console {
 public:
  virtual ~Console() = default;
  virtual void out(std::string_view text) = 0;
  virtual void err(std::string_view text) = 0;
};

struct JobOptions {
  std::filesystem::path home;  // the folder that holds the cartridge files
  unsigned kibPerSecond = 0;   // simulated transfer speed; 0 = as fast as the disk
  bool noCartridge = false;    // no cartridge answers on the port
  unsigned cartridgePort = kCartridgePort;
  bool noRoot = false;         // the port may not be used: the tool lacks root privileges
  // The system ends the tool at its first port access, as Windows does when the port driver
  // is missing or not started.
  bool privilegedInstruction = false;
  bool corruptWrite = false;   // a save written to a slot lands with some bytes wrong
};

// True when loader is a multi-game loader the build accepts: 128 KiB with a Genesis header.
bool IsGenesisLoader(const std::string& loader);

// SRAM slot (1 to 4) as the tool receives it from the SRAM's bytes: every other byte.
std::string SlotOf(const std::string& sram, int slot);

// Each returns the tool's exit code: 0 on success and when the tool refuses a ROM (its "ERROR:"
// line says so), 1 when no cartridge answers or the port may not be used.
// A privileged instruction ends the process instead.
int RunFlash(const Command& command, const JobOptions& options, Console& console);
int RunMultiBuild(const Command& command, Console& console);
int RunSram(const Command& command, const JobOptions& options, Console& console);

}  // namespace sim
