// Replacing a file without ever losing the old one: the new bytes go to a temporary file in
// the same folder, are flushed to disk, and only then renamed over the old file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Writes bytes to path as described above. On any failure the old file (if any) is left as it
// was, the temporary file is removed, and false is returned.
bool ReplaceFile(std::string_view path, std::string_view bytes);

// What every temporary file of path starts with: path followed by ".tmp", in the same folder.
std::string TemporaryPrefixFor(std::string_view path);
// A fresh temporary name for path: the prefix and a random suffix. ReplaceFile creates it
// exclusively, so two programs saving at once never share one, and whatever is in the way under
// a name (a leftover, a directory, a link) only makes it try another.
std::string TemporaryPathFor(std::string_view path);

// Whether a file can be created at path (it is removed again): nullopt when it can, else the
// system's reason, as its own message text without a final full stop.
std::optional<std::string> CannotCreateReason(std::string_view path);

// Removes the file path. False when it cannot.
bool RemoveFile(std::string_view path);

}  // namespace platform
