#include "flash/multi_check.h"

#include <algorithm>

#include "platform/file_read.h"

namespace flash {

namespace {

constexpr std::uint64_t kKiB = 1024;
constexpr std::size_t kConsoleNameOffset = 0x100;

std::uint64_t Padded(std::uint64_t size) {
  return (size + kGameAlignment - 1) / kGameAlignment * kGameAlignment;
}

std::uint64_t ImageBytes(int sizeMbit) {
  return static_cast<std::uint64_t>(sizeMbit) * 128 * kKiB;
}

std::string KiB(std::uint64_t bytes) { return std::to_string(bytes / kKiB) + " KiB"; }

}  // namespace

std::optional<std::string> LoaderProblem(std::string_view path) {
  const std::string named(path);
  const std::optional<std::uint64_t> size = platform::RegularFileSize(path);
  if (!size) {
    return "The multi-game loader " + named + " is missing or not a regular file" +
           std::string(kNothingWritten);
  }
  if (*size != kLoaderSize) {
    return "The multi-game loader " + named + " has " + std::to_string(*size) +
           " bytes; a Genesis loader has " + std::to_string(kLoaderSize) +
           std::string(kNothingWritten);
  }
  const std::optional<std::string> name = platform::ReadFilePart(path, kConsoleNameOffset, 4);
  if (!name || *name != "SEGA") {
    return "The multi-game loader " + named + " has no Genesis header (\"SEGA\" at byte 0x100)" +
           std::string(kNothingWritten);
  }
  return std::nullopt;
}

std::optional<std::string> GameCountProblem(std::size_t count, int sizeMbit) {
  const std::uint64_t most = ImageBytes(sizeMbit) / kGameAlignment - 1;
  if (count <= most) return std::nullopt;
  return std::to_string(count) + " games are queued; a " + std::to_string(sizeMbit) +
         " Mbit multi-game image holds at most " + std::to_string(most) +
         std::string(kNothingWritten);
}

std::vector<std::string> ImageSizeProblems(const std::vector<QueuedGame>& games, int sizeMbit) {
  const std::uint64_t limit = ImageBytes(sizeMbit);
  std::uint64_t end = kLoaderSpace;
  std::string beyond;
  for (const QueuedGame& game : games) {
    const std::uint64_t start = end;
    end += Padded(game.size);
    if (end <= limit) continue;
    const std::uint64_t past = end - std::max(start, limit);
    if (!beyond.empty()) beyond += ", ";
    beyond += game.name + " (" + KiB(past) + " of " + KiB(end - start) + ")";
  }
  if (end <= limit) return {};
  return {"The games need " + KiB(end) + " with the loader, " + KiB(end - limit) +
              " more than the " + std::to_string(sizeMbit) + " Mbit (" + KiB(limit) +
              ") image holds" + std::string(kNothingWritten),
          "Past the end: " + beyond + "."};
}

std::optional<std::string> RomSizeProblem(const QueuedGame& rom, int sizeMbit) {
  const std::uint64_t limit = ImageBytes(sizeMbit);
  if (rom.size <= limit) return std::nullopt;
  return rom.name + " has " + std::to_string(rom.size) + " bytes, more than the " +
         std::to_string(sizeMbit) + " Mbit cartridge holds (" + KiB(limit) + ")" +
         std::string(kNothingWritten);
}

}  // namespace flash
