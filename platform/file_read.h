// Reading files and asking what an entry is: the existence test, the checks on the files the
// jobs hand to the tool, and reading parts of files without ever waiting on something that is
// not a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// True when path names an existing entry that is neither a directory nor a volume label.
// Never fails: an empty, malformed or missing path gives false.
bool FileExists(std::string_view path);

// What a path names, for the jobs that hand files to the tool: the tool would block on a pipe
// or a device and misread a directory, so only regular files may go to it.
enum class EntryKind { Missing, RegularFile, Other };
EntryKind KindOfEntry(std::string_view path);

// The size in bytes of what KindOfEntry calls a regular file; nullopt for anything else.
std::optional<std::uint64_t> RegularFileSize(std::string_view path);

// At most limit bytes of a regular file, from offset on (less when the file ends first,
// possibly none); nullopt when path is missing or is not a regular file (a directory, a FIFO,
// a device) or cannot be read. The file is opened without waiting, so nothing the user names
// can hold up the window.
std::optional<std::string> ReadFilePart(std::string_view path, std::uint64_t offset,
                                        std::size_t limit);

// The largest file ReadWholeFile reads: the files it serves are a few hundred bytes, so a
// bigger one is junk and only its start is looked at.
inline constexpr std::size_t kWholeFileLimit = 64 * 1024;

// The whole file as bytes (its first kWholeFileLimit bytes); nullopt as for ReadFilePart.
inline std::optional<std::string> ReadWholeFile(std::string_view path) {
  return ReadFilePart(path, 0, kWholeFileLimit);
}

// True when path names a regular file that the program can open for reading now: the tool
// skips a game it cannot open and builds the image without it.
bool CanReadFile(std::string_view path);

// True when a and b name one existing entry however each is spelled: a link and what it points
// to, two hard links, or (where the system ignores it) another letter case.
bool SameEntry(std::string_view a, std::string_view b);

// The absolute form of path, links resolved where the system has them; empty when path cannot
// be reached.
std::string FullPathOf(std::string_view path);

}  // namespace platform
