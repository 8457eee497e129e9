#include "tools/sim_rom_fix.h"

#include <filesystem>

#include "tools/sim_cartridge.h"
#include "tools/sim_files.h"

namespace sim {
namespace fs = std::filesystem;

std::uint16_t GenesisChecksum(const std::string& rom) {
  std::uint16_t sum = 0;
  for (std::size_t i = kHeaderSize; i < rom.size(); i += 2) {
    const auto high = static_cast<unsigned char>(rom[i]);
    const auto low = i + 1 < rom.size() ? static_cast<unsigned char>(rom[i + 1]) : 0u;
    sum = static_cast<std::uint16_t>(sum + ((high << 8) | low));
  }
  return sum;
}

bool ApplyRomFix(const std::string& action, std::string& rom, std::string& error) {
  if (action == "--pad") {
    rom.resize((rom.size() + kMbit - 1) / kMbit * kMbit, '\0');
    return true;
  }
  if (rom.size() < kHeaderSize) {
    error = "the ROM has " + std::to_string(rom.size()) + " bytes, too few for a header of " +
            std::to_string(kHeaderSize);
    return false;
  }
  if (action == "--1991") {
    rom.replace(kConsoleNameOffset, 16, "SEGA GENESIS    ");
    return true;
  }
  const std::uint16_t sum = GenesisChecksum(rom);
  rom[kChecksumOffset] = static_cast<char>(sum >> 8);
  rom[kChecksumOffset + 1] = static_cast<char>(sum & 0xFF);
  return true;
}

int RunFix(const Command& command, Console& console) {
  std::string rom;
  std::string error;
  if (!ReadFile(command.file, rom, error)) {
    console.err("ERROR: cannot read " + error + "\n");
    return 1;
  }
  if (!ApplyRomFix(command.action, rom, error)) {
    console.err("ERROR: " + command.file + ": " + error + "; nothing written\n");
    return 1;
  }
  const fs::path folder = command.outDir ? fs::path(*command.outDir) : fs::path(".");
  const fs::path copy = folder / fs::path(command.file).filename();
  if (!BackUpExisting(copy, error)) {
    console.err("ERROR: " + error + "\n");
    return 1;
  }
  if (!ReplaceFile(copy, rom, error)) {
    console.err("ERROR: " + error + "\n");
    return 1;
  }
  console.out("Wrote " + NameOf(copy) + " (" + command.action + ", " +
              std::to_string(rom.size()) + " bytes)\n");
  return 0;
}

}  // namespace sim
