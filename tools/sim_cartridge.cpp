#include "tools/sim_cartridge.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <system_error>

#ifndef _WIN32
#include <sys/resource.h>
#endif

#include "tools/sim_files.h"
#include "tools/sim_progress.h"
#include "tools/sim_rom_fix.h"

namespace sim {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRomAlignment = 16u << 10;  // games start on 16 KiB boundaries

fs::path FlashFile(const JobOptions& options) { return options.home / "telvo-sim-flash.bin"; }

fs::path SramFile(const JobOptions& options, int slot) {
  return options.home / ("telvo-sim-sram" + std::to_string(slot) + ".bin");
}

std::string KiB(std::size_t bytes) { return std::to_string((bytes + 1023) / 1024) + " KiB"; }

bool Exists(const fs::path& file) {
  std::error_code ec;
  return fs::is_regular_file(file, ec);
}

int Fail(Console& console, const std::string& message) {
  console.err("ERROR: " + message + "\n");
  return 1;
}

// The line of the switches that apply to a transfer.
void Announce(const Command& command, const std::string& what, Console& console) {
  console.out("Port 0x" + *command.port + ", " + what +
              (command.genesis ? ", Genesis/MD format enforced" : "") + "\n");
}

// The whole cartridge comes into being on first use: an erased flash (0xFF) and four empty
// SRAM slots (0x00).
bool EnsureCartridge(const JobOptions& options, std::string& error) {
  std::string ignored;
  if (!Exists(FlashFile(options)) &&
      !LoadOrCreate(FlashFile(options), kFlashSize, '\xFF', ignored, error)) {
    return false;
  }
  for (int slot = 1; slot <= 4; ++slot) {
    if (Exists(SramFile(options, slot))) continue;
    if (!LoadOrCreate(SramFile(options, slot), kSramSize, '\0', ignored, error)) return false;
  }
  return true;
}

// What the tool prints when the cartridge gives no flash chip's ID: the port reads all ones.
int NoCartridge(Console& console) {
  return Fail(console, "TELVO-MD (flash card) not detected (ID: 0xffff)");
}

// The system's end for a program that touches an I/O port without leave: Windows ends it with
// STATUS_PRIVILEGED_INSTRUCTION; Linux sends SIGSEGV (without a core file).
[[noreturn]] void EndForPrivilegedInstruction() {
#ifdef _WIN32
  std::_Exit(static_cast<int>(0xC0000096u));
#else
  const rlimit noCore{0, 0};
  ::setrlimit(RLIMIT_CORE, &noCore);
  std::signal(SIGSEGV, SIG_DFL);
  std::raise(SIGSEGV);
  std::_Exit(139);
#endif
}

// The tool opens the port before it touches the cartridge or the file: a port it may not use
// ends the run first. nullopt when the port is open.
std::optional<int> OpenPort(const JobOptions& options, Console& console) {
  if (options.noRoot) {
    console.err(
        "ERROR: Could not set the I/O privilege level to 3\n"
        "       uCON64 needs root privileges for the requested action\n");
    return 1;
  }
  if (options.privilegedInstruction) EndForPrivilegedInstruction();
  return std::nullopt;
}

// Every kCorruptionStride-th byte inverted, as a failing cable or cartridge would leave them.
void Corrupt(std::string& bytes) {
  for (std::size_t at = 0; at < bytes.size(); at += kCorruptionStride) bytes[at] = ~bytes[at];
}

}  // namespace

bool IsGenesisLoader(const std::string& loader) {
  return loader.size() == kLoaderSize && loader.compare(0x100, 4, "SEGA") == 0;
}

int RunFlash(const Command& command, const JobOptions& options, Console& console) {
  if (const auto failed = OpenPort(options, console)) return *failed;
  Announce(command, "flash cartridge", console);
  if (options.noCartridge) return NoCartridge(console);
  std::string cartridge;
  std::string error;
  if (!EnsureCartridge(options, error)) return Fail(console, error);
  if (!LoadOrCreate(FlashFile(options), kFlashSize, '\xFF', cartridge, error)) {
    return Fail(console, error);
  }
  if (!Exists(command.file)) {
    console.out("Reading the cartridge into " + command.file + "\n");
    Progress(cartridge.size(), options.kibPerSecond, console).run();
    if (!ReplaceFile(command.file, cartridge, error)) return Fail(console, error);
    console.out("Done: " + KiB(cartridge.size()) + " read\n");
    return 0;
  }
  std::string image;
  if (!ReadFile(command.file, image, error)) return Fail(console, error);
  const std::size_t fitting = std::min(image.size(), kFlashSize);
  console.out("Writing " + command.file + " to the cartridge\n");
  Progress(fitting, options.kibPerSecond, console).run();
  cartridge.replace(0, fitting, image, 0, fitting);
  if (!ReplaceFile(FlashFile(options), cartridge, error)) return Fail(console, error);
  console.out("Done: " + KiB(fitting) + " written\n");
  if (image.size() > kFlashSize) {
    return Fail(console, command.file + " is larger than the 64 Mbit cartridge: the last " +
                             std::to_string(image.size() - kFlashSize) + " bytes were not written");
  }
  return 0;
}

int RunMultiBuild(const Command& command, Console& console) {
  const std::size_t limit = static_cast<std::size_t>(command.sizeMbit) << 17;
  std::string loader;
  std::string error;
  // Every outcome of a build ends with exit code 0, a missing loader too.
  if (!ReadFile(command.loader, loader, error)) {
    console.err("ERROR: cannot read the loader " + error + ": nothing built\n");
    return 0;
  }
  const bool genesis = IsGenesisLoader(loader);
  std::string image = loader;
  if (!genesis) {
    console.out("WARNING: " + command.loader +
                " is not a 128 KiB Genesis loader: building an image of another console's "
                "format\n");
    image = "TELVO SIMULATED FOREIGN MULTI-GAME IMAGE (NOT FOR GENESIS)\n";
    image.resize(kHeaderSize, '\0');
  }
  std::size_t added = 0;
  for (const std::string& rom : command.roms) {
    std::string bytes;
    // A game that cannot be read is left out without a word.
    if (!ReadFile(rom, bytes, error)) continue;
    if (added == kMaxGames) {
      console.out("WARNING: " + rom + " left out: an image holds at most " +
                  std::to_string(kMaxGames) + " games\n");
      continue;
    }
    bytes.resize((bytes.size() + kRomAlignment - 1) / kRomAlignment * kRomAlignment, '\xFF');
    const std::size_t room = limit > image.size() ? limit - image.size() : 0;
    if (room == 0) {
      console.out("WARNING: " + rom + " does not fit into the " +
                  std::to_string(command.sizeMbit) + " Mbit image: left out\n");
      continue;
    }
    if (bytes.size() > room) {
      console.out("WARNING: " + rom + " (" + KiB(bytes.size()) + ") does not fit into the " +
                  std::to_string(command.sizeMbit) + " Mbit image: cut after " + KiB(room) +
                  "\n");
      bytes.resize(room);
    }
    image += bytes;
    ++added;
    if (!command.quiet) console.out("Added " + rom + " (" + KiB(bytes.size()) + ")\n");
  }
  // A loader without games is no multi-game image.
  if (added == 0) {
    console.out("WARNING: no game could be added: nothing built\n");
    return 0;
  }
  const fs::path folder = command.outDir ? fs::path(*command.outDir) : fs::path(".");
  const fs::path output = folder / command.output;
  if (!BackUpExisting(output, error) || !ReplaceFile(output, image, error)) {
    console.err("ERROR: " + error + "\n");
    return 0;
  }
  console.out("Wrote " + output.string() + " (" + KiB(image.size()) + " of " +
              std::to_string(command.sizeMbit) + " Mbit)\n");
  return 0;
}

int RunSram(const Command& command, const JobOptions& options, Console& console) {
  if (const auto failed = OpenPort(options, console)) return *failed;
  Announce(command, "SRAM slot " + std::to_string(command.slot), console);
  if (options.noCartridge) return NoCartridge(console);
  const fs::path slotFile = SramFile(options, command.slot);
  // The file is taken as given, relative to the current directory; "-o=" has no say here.
  const fs::path file = command.file;
  std::string slot;
  std::string error;
  if (!EnsureCartridge(options, error)) return Fail(console, error);
  if (!LoadOrCreate(slotFile, kSramSize, '\0', slot, error)) return Fail(console, error);
  if (!Exists(file)) {
    console.out("Saving SRAM slot " + std::to_string(command.slot) + " into " + file.string() +
                "\n");
    Progress(slot.size(), options.kibPerSecond, console).run();
    if (!ReplaceFile(file, slot, error)) return Fail(console, error);
    console.out("Done: " + KiB(slot.size()) + " saved\n");
    return 0;
  }
  std::string save;
  if (!ReadFile(file, save, error)) return Fail(console, error);
  console.out("Writing " + file.string() + " to SRAM slot " + std::to_string(command.slot) + "\n");
  const std::size_t given = save.size();
  // The tool writes the file's bytes from the slot's start; the slot's bytes past them stay.
  const std::size_t fitting = std::min(given, kSramSize);
  if (options.corruptWrite) Corrupt(save);
  slot.replace(0, fitting, save, 0, fitting);
  Progress(fitting, options.kibPerSecond, console).run();
  if (!ReplaceFile(slotFile, slot, error)) return Fail(console, error);
  console.out("Done: " + KiB(fitting) + " written\n");
  if (given > kSramSize) {
    return Fail(console, file.string() + " is larger than an SRAM slot: the last " +
                             std::to_string(given - kSramSize) + " bytes were not written");
  }
  return 0;
}

}  // namespace sim
