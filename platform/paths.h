// File-system services of the start-up sequence and the flash job: the application directory,
// the current directory and the existence test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The directory that holds the running executable, as the platform reports it (Linux:
// /proc/self/exe; Windows: the module file name), without a trailing separator except at a
// root ("c:\", "/"). UTF-8.
std::string ApplicationDirectory();

// The current directory is platform::CurrentDirectory().
// Changes the current directory, the drive included on Windows. False when it fails.
bool ChangeDirectory(std::string_view path);

// True when path names an existing entry that is neither a directory nor a volume label.
// Never fails: an empty, malformed or missing path gives false.
bool FileExists(std::string_view path);

// What a path names, for the jobs that hand files to the tool: the tool would block on a pipe
// or a device and misread a directory, so only regular files may go to it.
enum class EntryKind { Missing, RegularFile, Other };
EntryKind KindOfEntry(std::string_view path);

// The size in bytes of what KindOfEntry calls a regular file; nullopt for anything else.
std::optional<std::uint64_t> RegularFileSize(std::string_view path);

bool RemoveFile(std::string_view path);

}  // namespace platform
