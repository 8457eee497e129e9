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

namespace {

void PutName(std::string& rom, std::size_t at, const std::string& name) {
  std::string field = name;
  field.resize(48, ' ');
  rom.replace(at, field.size(), field);
}

// The other console's checksum, where the tool writes it for a ROM it takes for one.
void PutOtherConsoleChecksum(std::string& rom) {
  if (rom.size() < kOtherConsoleChecksum + 4) return;
  rom.replace(kOtherConsoleChecksum, 4, "\xFF\xFF\x00\x00", 4);
  std::uint16_t sum = 0;
  for (char c : rom) sum = static_cast<std::uint16_t>(sum + static_cast<unsigned char>(c));
  const std::uint16_t complement = static_cast<std::uint16_t>(~sum);
  const char bytes[4] = {static_cast<char>(complement & 0xFF), static_cast<char>(complement >> 8),
                         static_cast<char>(sum & 0xFF), static_cast<char>(sum >> 8)};
  rom.replace(kOtherConsoleChecksum, 4, bytes, 4);
}

}  // namespace

void ApplyRomFix(const std::string& action, bool genesis, std::string& rom) {
  if (action == "--pad") {
    rom.resize((rom.size() / kMbit + 1) * kMbit, '\0');
    return;
  }
  // The tool copies a ROM too short for a header as it is, and says nothing.
  if (rom.size() < kHeaderSize) return;
  if (action == "--1991") {
    PutName(rom, 0x120, "(C) SEGA");
    PutName(rom, 0x150, "(C)SEGA");
    return;
  }
  if (!genesis && rom.compare(kConsoleNameOffset, 4, "SEGA") != 0) {
    PutOtherConsoleChecksum(rom);
    return;
  }
  const std::uint16_t sum = GenesisChecksum(rom);
  rom[kChecksumOffset] = static_cast<char>(sum >> 8);
  rom[kChecksumOffset + 1] = static_cast<char>(sum & 0xFF);
}

int RunFix(const Command& command, Console& console) {
  std::string rom;
  std::string error;
  if (!ReadFile(command.file, rom, error)) {
    console.err("ERROR: cannot read " + error + "\n");
    return 1;
  }
  ApplyRomFix(command.action, command.genesis, rom);
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
  console.out("Wrote " + copy.string() + " (" + command.action + ", " +
              std::to_string(rom.size()) + " bytes)\n");
  return 0;
}

}  // namespace sim
