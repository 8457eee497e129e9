// The simulated cartridge: a 64 Mbit flash image and four 32 KiB SRAM slots kept as files in
// one folder, and the jobs of the tool's actions run against them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "tools/sim_command.h"

namespace sim {

constexpr std::size_t kFlashSize = 8u << 20;  // 64 Mbit
constexpr std::size_t kSramSize = 32u << 10;
constexpr std::size_t kLoaderSize = 128u << 10;
constexpr std::size_t kMaxGames = 31;
// Of a save written with corruptWrite, every byte at a multiple of this offset is inverted.
constexpr std::size_t kCorruptionStride = 4096;

// Where messages go: "ERROR:" and "NOTE:" lines to the tool's standard error, the rest
// ("WARNING:" lines, information, progress) to its standard output; flushed at once so that
// both keep their order on a shared pipe.
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
  bool noRoot = false;         // the port may not be used: the tool lacks root privileges
  // The system ends the tool at its first port access, as Windows does when the port driver
  // is missing or not started.
  bool privilegedInstruction = false;
  bool corruptWrite = false;   // a save written to a slot lands with some bytes wrong
};

// True when loader is a multi-game loader the build accepts: 128 KiB with a Genesis header.
bool IsGenesisLoader(const std::string& loader);

// Each returns the tool's exit code: 0 on success and for every build outcome, 1 for a port
// failure or no cartridge. A privileged instruction ends the process instead.
int RunFlash(const Command& command, const JobOptions& options, Console& console);
int RunMultiBuild(const Command& command, Console& console);
int RunSram(const Command& command, const JobOptions& options, Console& console);

}  // namespace sim
