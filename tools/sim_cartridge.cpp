#include "tools/sim_cartridge.h"

#include <algorithm>
#include <cctype>
#include <csignal>
#include <cstdio>
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

constexpr std::size_t kChunk = 16u << 10;          // the tool sends 16 KiB at a time
constexpr std::size_t kFlashBlock = 128u << 10;     // erased as the writing reaches it
constexpr std::size_t kGameTable = 0x8000;          // in the loader, 32 bytes per game
constexpr std::size_t kEntry = 0x20;
constexpr std::size_t kImageMark = 0x83F4;          // "uCON64 <version>": a multi-game image
constexpr unsigned kFallbackPort = 0x278;           // where a port below 0x100 is moved

fs::path FlashFile(const JobOptions& options) { return options.home / "telvo-sim-flash.bin"; }
fs::path SramFile(const JobOptions& options) { return options.home / "telvo-sim-sram.bin"; }

bool Exists(const fs::path& file) {
  std::error_code ec;
  return fs::exists(file, ec);
}

// "Send: 1048576 Bytes (8.0000 Mb)", as the tool announces a transfer.
std::string SizeLine(const char* what, std::size_t bytes) {
  char line[80];
  std::snprintf(line, sizeof line, "%s: %zu Bytes (%.4f Mb)\n\n", what, bytes,
                static_cast<double>(bytes) / kMbit);
  return line;
}

int Fail(Console& console, const std::string& message) {
  console.err("ERROR: " + message + "\n");
  return 1;
}

// The port the run drives, as the tool opens it: one below 0x100 is moved to 0x278. True when
// the cartridge answers there.
bool OpenPort(const Command& command, const JobOptions& options, const std::string& what,
              Console& console) {
  unsigned port = *command.port;
  if (port < 0x100) {
    char line[80];
    std::snprintf(line, sizeof line, "WARNING: Specified port (0x%x) < 0x100. Using 0x%x\n", port,
                  kFallbackPort);
    console.out(line);
    port = kFallbackPort;
  }
  char hex[16];
  std::snprintf(hex, sizeof hex, "%x", port);
  console.out("Port 0x" + std::string(hex) + ", " + what +
              (command.genesis ? ", Genesis/MD format enforced" : "") + "\n");
  return !options.noCartridge && port == options.cartridgePort;
}

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

// The tool gets leave to use the port before it does anything else: without it the run ends
// there. nullopt when the port may be used.
std::optional<int> PortRefused(const JobOptions& options, Console& console) {
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

// The whole cartridge comes into being the first time it answers: an erased flash (0xFF) and
// a zeroed SRAM.
bool LoadCartridge(const JobOptions& options, std::string& flash, std::string& sram,
                   std::string& error) {
  return LoadOrCreate(FlashFile(options), kFlashSize, '\xFF', flash, error) &&
         LoadOrCreate(SramFile(options), kSramSize, '\0', sram, error);
}

// The flash as the tool writes it: a block is erased when the writing reaches its start, and
// programming only clears bits.
class FlashWriter {
 public:
  explicit FlashWriter(std::string& flash) : flash_(flash) {}
  void write(std::size_t address, const std::string& chunk) {
    for (std::size_t i = 0; i < chunk.size(); ++i) {
      const std::size_t at = (address + i) & (kFlashSize - 1);
      if (at % kFlashBlock == 0) std::fill_n(flash_.begin() + at, kFlashBlock, '\xFF');
      flash_[at] = static_cast<char>(flash_[at] & chunk[i]);
    }
  }

 private:
  std::string& flash_;
};

// The tool's 16 KiB buffer, as the console reads what it sends: each read fills its front, and
// a short last read leaves the rest as the chunk before left it, byte-swapped once more by the
// tool's preparing of every word for the port.
class ChunkBuffer {
 public:
  const std::string& fill(const std::string& file, std::size_t from, std::size_t count) {
    const std::string before = chunk_;
    for (std::size_t i = count; i < kChunk; ++i) chunk_[i] = before[i ^ 1];
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(from), count, chunk_.begin());
    return chunk_;
  }

 private:
  std::string chunk_ = std::string(kChunk, '\xFF');
};

bool HasCopierHeader(const std::string& rom) {
  return rom.size() > 10 && rom[8] == '\xAA' && rom[9] == '\xBB' && rom[10] == '\x06';
}

// Writes image as the tool does: a multi-game image is the loader and then each game of its
// table, as many whole Mbit as the table gives, read on from where the last one ended and
// placed on the next 2 Mbit boundary.
void WriteImage(const std::string& image, std::string& flash, Progress& progress) {
  const bool multi = image.compare(kImageMark, 6, "uCON64") == 0;
  const std::string table =
      multi ? image.substr(kGameTable, kMaxGames * kEntry + kEntry) : std::string();
  FlashWriter writer(flash);
  ChunkBuffer buffer;
  std::size_t address = 0;
  std::size_t position = 0;
  for (int game = -1;; ++game) {
    std::size_t left = image.size();
    if (game >= 0) left = static_cast<unsigned char>(table[game * kEntry + 0x1D]) * kMbit;
    else if (multi) left = kLoaderSize;
    while (left > 0 && position < image.size()) {
      const std::size_t count = std::min(kChunk, image.size() - position);
      writer.write(address, buffer.fill(image, position, count));
      address += kChunk;
      position += count;
      left -= std::min(left, count);
      progress.advance(position);
    }
    address = (address + kGameAlignment - 1) / kGameAlignment * kGameAlignment;
    const std::size_t next = static_cast<std::size_t>(game + 1);
    if (!multi || next >= kMaxGames || table[next * kEntry] == '\0') break;
  }
}

// One entry of the image's game table, as the loader's menu and the flashing read it.
std::string GameEntry(const std::string& rom, std::size_t size, std::size_t start,
                      int& sramPage, int& sharedWith, int gameNumber, Console& console) {
  std::string entry(kEntry, '\0');
  entry[0] = '\xFF';
  for (std::size_t n = 0; n < 0x1B; ++n) {
    const auto c = static_cast<unsigned char>(rom.size() > 0x150 + n ? rom[0x150 + n] : 0);
    entry[1 + n] = std::isprint(c) ? static_cast<char>(std::toupper(c)) : '.';
  }
  entry[0x1D] = static_cast<char>(size / kMbit);
  entry[0x1E] = static_cast<char>(start / kGameAlignment);
  unsigned flags = 0x80;
  if (rom.size() > 0x1B1 && rom[0x1B0] == 'R' && rom[0x1B1] == 'A') {
    if (sramPage == 3) {
      sharedWith = gameNumber;
    } else if (sramPage > 3) {
      console.out("WARNING: This ROM will share SRAM with ROM " + std::to_string(sharedWith) +
                  "\n");
      sramPage = 3;
    }
    flags |= static_cast<unsigned>(sramPage++);
    if (size <= 16 * kMbit) flags &= ~0x80u;
  } else {
    flags |= 4;
  }
  entry[0x1F] = static_cast<char>(flags);
  return entry;
}

}  // namespace

bool IsGenesisLoader(const std::string& loader) {
  return loader.size() == kLoaderSize && loader.compare(0x100, 4, "SEGA") == 0;
}

std::string SlotOf(const std::string& sram, int slot) {
  if (sram.empty()) return {};
  std::string bytes(kSlotSize, '\xFF');
  const std::size_t start = static_cast<std::size_t>(slot - 1) * kSlotSize;
  for (std::size_t i = 0; i < kSlotSize; ++i) bytes[i] = sram[(start + 2 * i) % sram.size()];
  return bytes;
}

int RunFlash(const Command& command, const JobOptions& options, Console& console) {
  if (const auto failed = PortRefused(options, console)) return *failed;
  const bool sending = Exists(command.file);
  std::string image;
  std::string error;
  if (sending) {
    if (!ReadFile(command.file, image, error)) return Fail(console, error);
    // The tool refuses a ROM with a copier's header, but ends as if all went well.
    if (HasCopierHeader(image)) {
      console.err("ERROR: This ROM has a header. Remove it with --stp or --bin");
      console.out("\n");
      return 0;
    }
  }
  const bool answers = OpenPort(command, options, "flash cartridge", console);
  std::string flash;
  std::string sram;
  // A cartridge that answers is there from the port's opening on.
  if (answers && !LoadCartridge(options, flash, sram, error)) return Fail(console, error);
  if (!sending) {
    if (!answers) return NoCartridge(console);
    console.out(SizeLine("Receive", kFlashSize));
    Progress progress(kFlashSize, options.kibPerSecond, console);
    for (std::size_t done = kChunk; done <= kFlashSize; done += kChunk) progress.advance(done);
    if (!ReplaceFile(command.file, flash, error)) return Fail(console, error);
    console.out("\n");
    return 0;
  }
  // The tool looks for a multi-game image's mark before anything else, and a file too short
  // to hold it ends the run.
  const std::size_t markEnd = kImageMark + 12;
  if (image.size() < markEnd) {
    const std::size_t got = image.size() > kImageMark ? image.size() - kImageMark : 0;
    return Fail(console, "Could read only " + std::to_string(got) +
                             " of 12 bytes from file handle 0x1");
  }
  console.out(SizeLine("Send", image.size()));
  if (!answers) return NoCartridge(console);
  Progress progress(image.size(), options.kibPerSecond, console);
  WriteImage(image, flash, progress);
  if (!ReplaceFile(FlashFile(options), flash, error)) return Fail(console, error);
  console.out("\n");
  return 0;
}

int RunMultiBuild(const Command& command, Console& console) {
  const std::size_t limit = static_cast<std::size_t>(command.sizeMbit) * kMbit;
  const fs::path folder = command.outDir ? fs::path(*command.outDir) : fs::path(".");
  const fs::path output = folder / command.output;
  console.out("Creating multi-game file for TELVO-MD: " + NameOf(output) + "\n");
  std::vector<std::string> files = {command.loader};
  files.insert(files.end(), command.roms.begin(), command.roms.end());
  std::string image;
  std::string error;
  std::size_t total = 0;
  int number = 0;
  int sramPage = 0;
  int sharedWith = 0;
  std::vector<std::string> entries;
  for (const std::string& file : files) {
    std::error_code ec;
    // A name that is no regular file is taken for an option and passed over without a word.
    if (!fs::is_regular_file(file, ec)) continue;
    if (number == static_cast<int>(kMaxGames) + 1) {
      console.out("WARNING: A multi-game file can contain a maximum of 31 games. The other "
                  "files\n         are ignored\n");
      break;
    }
    std::string rom;
    if (!ReadFile(file, rom, error)) {
      console.err("ERROR: Could not open " + file + " for reading\n");
      continue;
    }
    if (rom.size() < 0x104 || rom.compare(0x100, 4, "SEGA") != 0)
      console.out("WARNING: " + file + " does not appear to be a Genesis ROM\n");
    const std::size_t size = rom.size();
    if (number == 0) {
      console.out("Loader: " + file + "\n");
      if (size != kLoaderSize)
        console.out("WARNING: Are you sure " + file + " is a loader binary?\n");
    } else {
      console.out("ROM" + std::to_string(number) + ": " + file + "\n");
      entries.push_back(GameEntry(rom, size, total, sramPage, sharedWith, number, console));
    }
    ++number;
    std::size_t taken = size;
    const bool truncated = total + size > limit;
    if (truncated) {
      taken = limit - total;
      console.out("Output file needs " + std::to_string(command.sizeMbit) +
                  " Mbit on flash card, truncating " + file + ", skipping " +
                  std::to_string(size - taken) + " bytes\n");
    }
    image.append(rom, 0, taken);
    const std::size_t padding = (size + kChunk - 1) / kChunk * kChunk - size;
    image.append(padding, '\xFF');
    total = (total + taken + padding + kGameAlignment - 1) / kGameAlignment * kGameAlignment;
    if (truncated) break;
  }
  // The table lives in the loader's part of the image; a short loader leaves it in the games.
  std::string table;
  for (const std::string& entry : entries) table += entry;
  table += '\0';
  const std::string mark = "uCON64 2.2.1";
  const std::size_t needed = std::max(kGameTable + table.size(), kImageMark + mark.size());
  if (image.size() < needed) image.resize(needed, '\0');
  if (number > 0) image.replace(kGameTable, table.size(), table);
  image.replace(kImageMark, mark.size(), mark);
  if (!BackUpExisting(output, error) || !ReplaceFile(output, image, error)) {
    console.err("ERROR: " + error + "\n");
  }
  return 0;
}

int RunSram(const Command& command, const JobOptions& options, Console& console) {
  if (const auto failed = PortRefused(options, console)) return *failed;
  const fs::path file = command.file;
  const bool sending = Exists(file);
  std::string save;
  std::string error;
  if (sending && !ReadFile(file, save, error)) return Fail(console, error);
  const bool answers =
      OpenPort(command, options, "SRAM slot " + std::to_string(command.slot), console);
  console.out(SizeLine(sending ? "Send" : "Receive", sending ? save.size() : kSlotSize));
  if (!answers) return NoCartridge(console);
  std::string flash;
  std::string sram;
  if (!LoadCartridge(options, flash, sram, error)) return Fail(console, error);
  const std::size_t start = static_cast<std::size_t>(command.slot - 1) * kSlotSize;
  if (!sending) {
    Progress progress(kSlotSize, options.kibPerSecond, console);
    for (std::size_t done = 8192; done <= kSlotSize; done += 8192) progress.advance(done);
    if (!ReplaceFile(file, SlotOf(sram, command.slot), error)) return Fail(console, error);
    console.out("\n");
    return 0;
  }
  if (options.corruptWrite) Corrupt(save);
  // Each byte twice, whatever the file's size: a larger save runs on into the next slots.
  // The tool sends whole 16 KiB chunks: after a short last one, the rest of its buffer.
  std::string buffer(kChunk, '\0');
  Progress progress(save.size(), options.kibPerSecond, console);
  std::size_t address = start;
  for (std::size_t from = 0; from < save.size(); from += kChunk) {
    const std::size_t count = std::min(kChunk, save.size() - from);
    std::copy_n(save.begin() + static_cast<std::ptrdiff_t>(from), count, buffer.begin());
    for (char byte : buffer) {
      sram[address++ % kSramSize] = byte;
      sram[address++ % kSramSize] = byte;
    }
    progress.advance(from + count);
  }
  if (!ReplaceFile(SramFile(options), sram, error)) return Fail(console, error);
  console.out("\n");
  return 0;
}

}  // namespace sim
