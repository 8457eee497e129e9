#include "tools/sim_cartridge.h"

#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

#include "tools/sim_files.h"

namespace sim {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kStep = 64u << 10;          // progress is shown per 64 KiB
constexpr std::size_t kRomAlignment = 16u << 10;  // games start on 16 KiB boundaries
constexpr double kLongestTransferSeconds = 30.0;  // a demonstration never waits longer

fs::path FlashFile(const JobOptions& options) { return options.home / "telvo-sim-flash.bin"; }

fs::path SramFile(const JobOptions& options, int slot) {
  return options.home / ("telvo-sim-sram" + std::to_string(slot) + ".bin");
}

std::string KiB(std::size_t bytes) { return std::to_string((bytes + 1023) / 1024) + " KiB"; }

// Prints the progress line of a transfer, rewritten in place through "\r" as real transfers
// do, and paces it to the simulated speed.
class Progress {
 public:
  Progress(std::string_view what, std::size_t total, unsigned kibPerSecond, Console& console)
      : what_(what), total_(total), console_(console), start_(Clock::now()) {
    if (kibPerSecond == 0 || total == 0) return;
    const double seconds = static_cast<double>(total) / (1024.0 * kibPerSecond);
    secondsPerByte_ = std::min(seconds, kLongestTransferSeconds) / static_cast<double>(total);
  }

  void advance(std::size_t done) {
    if (secondsPerByte_ > 0) {
      std::this_thread::sleep_until(
          start_ + std::chrono::duration_cast<Clock::duration>(
                       std::chrono::duration<double>(secondsPerByte_ * static_cast<double>(done))));
    }
    const std::size_t percent = total_ == 0 ? 100 : done * 100 / total_;
    console_.out("\r" + what_ + ": " + std::to_string((done + 1023) / 1024) + " of " + KiB(total_) +
                 " (" + std::to_string(percent) + "%)");
  }

  void run() {
    for (std::size_t done = std::min(kStep, total_);; done = std::min(done + kStep, total_)) {
      advance(done);
      if (done == total_) break;
    }
    console_.out("\n");
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::string what_;
  std::size_t total_;
  Console& console_;
  Clock::time_point start_;
  double secondsPerByte_ = 0;
};

std::string FlagText(const Command& command) {
  if (command.flags.empty()) return "none";
  std::string text;
  for (const std::string& flag : command.flags) text += (text.empty() ? "" : " ") + flag;
  return text;
}

bool Exists(const fs::path& file) {
  std::error_code ec;
  return fs::is_regular_file(file, ec);
}

int Fail(Console& console, const std::string& message) {
  console.err("error: " + message + "\n");
  return 1;
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

}  // namespace

int RunFlash(const Command& command, const JobOptions& options, Console& console) {
  console.out("Port 0x" + command.port + ", ROM options: " + FlagText(command) + "\n");
  std::string cartridge;
  std::string error;
  if (!EnsureCartridge(options, error)) return Fail(console, error);
  if (!LoadOrCreate(FlashFile(options), kFlashSize, '\xFF', cartridge, error)) {
    return Fail(console, error);
  }
  if (!Exists(command.file)) {
    console.out("Reading the cartridge into " + command.file + "\n");
    Progress("Reading", cartridge.size(), options.kibPerSecond, console).run();
    if (!ReplaceFile(command.file, cartridge, error)) return Fail(console, error);
    console.out("Done: " + KiB(cartridge.size()) + " read\n");
    return 0;
  }
  std::string image;
  if (!ReadFile(command.file, image, error)) return Fail(console, error);
  const std::size_t fitting = std::min(image.size(), kFlashSize);
  console.out("Writing " + command.file + " to the cartridge\n");
  Progress("Writing", fitting, options.kibPerSecond, console).run();
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
  std::string image;
  std::string error;
  if (!ReadFile(command.loader, image, error)) {
    return Fail(console, "cannot read the loader " + error + ": nothing built");
  }
  int exitCode = 0;
  int added = 0;
  for (const std::string& rom : command.roms) {
    std::string bytes;
    if (!ReadFile(rom, bytes, error)) {
      exitCode = Fail(console, "cannot read " + error + ": skipped");
      continue;
    }
    const std::size_t padded = (bytes.size() + kRomAlignment - 1) / kRomAlignment * kRomAlignment;
    bytes.resize(padded, '\xFF');
    const std::size_t room = limit > image.size() ? limit - image.size() : 0;
    if (room == 0) {
      exitCode = Fail(console, rom + " does not fit into the " + std::to_string(command.sizeMbit) +
                                   " Mbit image: left out");
      continue;
    }
    if (padded > room) {
      exitCode = Fail(console, rom + " (" + KiB(padded) + ") does not fit into the " +
                                   std::to_string(command.sizeMbit) + " Mbit image: cut after " +
                                   KiB(room));
      bytes.resize(room);
    }
    image += bytes;
    ++added;
    console.out("Added " + rom + " (" + KiB(bytes.size()) + ")\n");
  }
  // A loader without games is no multi-game image.
  if (added == 0) return Fail(console, "no game could be added: nothing built");
  const fs::path output = fs::path(command.outDir) / command.output;
  if (!ReplaceFile(output, image, error)) return Fail(console, error);
  console.out("Wrote " + output.string() + " (" + KiB(image.size()) + " of " +
              std::to_string(command.sizeMbit) + " Mbit)\n");
  return exitCode;
}

int RunSram(const Command& command, const JobOptions& options, Console& console) {
  console.out("Port 0x" + command.port + ", SRAM slot " + std::to_string(command.slot) + "\n");
  const fs::path slotFile = SramFile(options, command.slot);
  const fs::path file = fs::path(command.outDir) / command.file;
  std::string slot;
  std::string error;
  if (!EnsureCartridge(options, error)) return Fail(console, error);
  if (!LoadOrCreate(slotFile, kSramSize, '\0', slot, error)) return Fail(console, error);
  if (!Exists(file)) {
    console.out("Saving SRAM slot " + std::to_string(command.slot) + " into " + file.string() +
                "\n");
    Progress("Reading", slot.size(), options.kibPerSecond, console).run();
    if (!ReplaceFile(file, slot, error)) return Fail(console, error);
    console.out("Done: " + KiB(slot.size()) + " saved\n");
    return 0;
  }
  std::string save;
  if (!ReadFile(file, save, error)) return Fail(console, error);
  console.out("Writing " + file.string() + " to SRAM slot " + std::to_string(command.slot) + "\n");
  const std::size_t given = save.size();
  save.resize(kSramSize, '\0');
  Progress("Writing", save.size(), options.kibPerSecond, console).run();
  if (!ReplaceFile(slotFile, save, error)) return Fail(console, error);
  console.out("Done: " + KiB(save.size()) + " written\n");
  if (given > kSramSize) {
    return Fail(console, file.string() + " is larger than an SRAM slot: the last " +
                             std::to_string(given - kSramSize) + " bytes were not written");
  }
  return 0;
}

}  // namespace sim
