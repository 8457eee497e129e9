// Whole-file reads and safe replacement for the simulator.
#pragma once

#include <filesystem>
#include <string>

namespace sim {

// False with error set to "<file>: <system's reason>" when the file cannot be read.
bool ReadFile(const std::filesystem::path& file, std::string& bytes, std::string& error);
// Writes a temporary file beside file, flushes it and renames it over file, so that an
// interrupted run never leaves a half-written cartridge or image behind.
bool ReplaceFile(const std::filesystem::path& file, const std::string& bytes, std::string& error);
// The file's content, created with size bytes of fill when it is missing; a file of another
// size is cut or padded with fill.
bool LoadOrCreate(const std::filesystem::path& file, std::size_t size, char fill,
                  std::string& bytes, std::string& error);

}  // namespace sim

namespace sim {

// When file exists, renames it to "<base>.bak" in its folder (replacing an older backup), as the
// tool keeps the file it is about to write over; true also when there was nothing to keep.
bool BackUpExisting(const std::filesystem::path& file, std::string& error);

}  // namespace sim
