// Path text: taking a path apart and putting one together, without asking the file system.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The platform's path separator: '\\' on Windows, '/' elsewhere.
char PathSeparator();

// Joins a directory and a name with one separator, without normalising: a root that already
// ends with the separator ("c:\", "/") gives a doubled one, as the flash list expects.
std::string JoinPath(std::string_view dir, std::string_view name);

// The root of path ("/" on Linux, "c:\" on Windows); empty when path has none.
std::string RootOf(std::string_view path);

// The file name of path: what follows its last separator.
std::string_view FileNameOf(std::string_view path);

// The folder of path: what precedes its file name, without the separator between them, the
// root kept whole ("/", "c:\"). Empty for a bare name.
std::string FolderOf(std::string_view path);

}  // namespace platform
