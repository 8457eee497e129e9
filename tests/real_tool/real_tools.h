// The real tool's releases that the build made with the emulated cartridge, and the ROMs and
// cartridge views the tests against them share.
#pragma once

#include <cstddef>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace testing_support {

struct RealTool {
  std::string release;  // "2.2.1", "2.0.0"
  std::filesystem::path program;
};

// Every release the build made, the current one first.
std::vector<RealTool> RealTools();
// Releases print as their numbers in test failures.
void PrintTo(const RealTool& tool, std::ostream* os);

// A Genesis ROM of size bytes: "SEGA GENESIS" at 0x100 (or, when sega is false, no console
// name at all, as many unlicensed games have), title at 0x150, and a body that differs from
// every other ROM's of another seed.
std::string GenesisRom(std::size_t size, const std::string& title, bool sega = true,
                       unsigned seed = 1);

}  // namespace testing_support
