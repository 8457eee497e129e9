// The folder the ROM fixes are made in: the tool writes each fixed copy there, so that the
// user's own ROM files are never written. One service of the platform, one file per system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace flash {

// Creates path as an empty folder: whatever lies there first (a folder left by a job that was
// cut short, or a file) is removed with everything in it. False when it cannot be made.
bool CreateEmptyFolder(std::string_view path);

// Removes path with everything in it; links are removed, never followed. True when nothing is
// left under that name (also when there was nothing).
bool RemoveFolderTree(std::string_view path);

// The size in bytes of a regular file; nullopt for anything else or when it cannot be read.
std::optional<std::uint64_t> RegularFileSize(std::string_view path);

}  // namespace flash
