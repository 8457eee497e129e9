// Whole-file reads and safe replacement for the simulator.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace sim {

// File names reach the simulator in the 8-bit text of its command line and environment, and it
// prints them back in that text, as the tool does with the names it is given.
// Makes every conversion of such text into a path read it in the right code page (Windows: the
// ANSI code page; Linux: a name is its bytes). Called first thing.
void ReadNamesInCommandLineCodePage();
// A path as that text.
std::string NameOf(const std::filesystem::path& path);
// std::fopen by the path's own name.
std::FILE* OpenFile(const std::filesystem::path& file, const char* mode);

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
