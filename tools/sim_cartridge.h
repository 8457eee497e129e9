// The simulated cartridge: a 64 Mbit flash image and four 32 KiB SRAM slots kept as files in
// one folder, and the jobs of the four command lines run against them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "tools/sim_command.h"

namespace sim {

constexpr std::size_t kFlashSize = 8u << 20;  // 64 Mbit
constexpr std::size_t kSramSize = 32u << 10;

// Where messages go: the tool's standard output and standard error, flushed at once so that
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
};

// Each returns the tool's exit code: 0 on success.
int RunFlash(const Command& command, const JobOptions& options, Console& console);
int RunMultiBuild(const Command& command, Console& console);
int RunSram(const Command& command, const JobOptions& options, Console& console);

}  // namespace sim
