// What the tool's multi-game build needs to make an image that works, checked before it runs:
// with a wrong loader it builds an image for another console, and games that do not fit are
// cut or dropped, each time reporting success. An image like that must never be flashed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace flash {

// How every line ends that says why the flash job stopped before writing anything, and what
// the verdict says when a step before the flash failed.
inline constexpr std::string_view kNothingWritten = "; nothing was written to the cartridge.";
inline constexpr std::string_view kCartridgeUnchanged = "nothing was written to the cartridge";

// The loader file's size, and the part of the image it takes: the first 256 KiB.
inline constexpr std::uint64_t kLoaderSize = 128 * 1024;
inline constexpr std::uint64_t kLoaderSpace = 256 * 1024;
// Each game starts on a 2 Mbit boundary of the image, after the loader.
inline constexpr std::uint64_t kGameAlignment = 256 * 1024;

// The output box's line saying why the loader at path cannot serve a Genesis build (missing,
// not 128 KiB, no Genesis header); nullopt when it can.
std::optional<std::string> LoaderProblem(std::string_view path);

// The line saying that count games are too many for one image of sizeMbit (32: 15 games, 64:
// 31, each taking at least one 2 Mbit block beside the loader's); nullopt when they are not.
std::optional<std::string> GameCountProblem(std::size_t count, int sizeMbit);

struct QueuedGame {
  std::string name;    // as the user knows it: the queued path
  std::uint64_t size;  // of the file the build is given
};

// The lines saying that the loader's space and the games, each rounded up to kGameAlignment, exceed an image of
// sizeMbit: the total excess, then each game that lies wholly or partly past the end and by
// how much. Empty when they fit.
std::vector<std::string> ImageSizeProblems(const std::vector<QueuedGame>& games, int sizeMbit);

// The line saying that a single ROM is larger than a cartridge of sizeMbit, which the tool
// would cut to fit and write; nullopt when it fits.
std::optional<std::string> RomSizeProblem(const QueuedGame& rom, int sizeMbit);

}  // namespace flash
