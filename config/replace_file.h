// Replacing a file without ever losing the old one: the new bytes go to a temporary file in
// the same folder, are flushed to disk, and only then renamed over the old file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace config {

// Writes bytes to path as described above. On any failure the old file (if any) is left as it
// was, the temporary file is removed, and false is returned.
bool ReplaceFile(std::string_view path, std::string_view bytes);

// The temporary file ReplaceFile writes first: path followed by ".tmp", in the same folder.
// A leftover file of that name (from a run that ended mid-write) is overwritten; anything
// else in the way (a directory) makes ReplaceFile fail.
std::string TemporaryPathFor(std::string_view path);

// Whether a file can be created at path (it is removed again): nullopt when it can, else the
// system's reason, as its own message text without a final full stop.
std::optional<std::string> CannotCreateReason(std::string_view path);

// The output box's line (without line ending) saying that folder cannot be written, for the
// system's reason, so the options will not be kept.
std::string UnwritableFolderLine(std::string_view folder, std::string_view reason);

// The whole file as bytes; nullopt when it cannot be opened or read (missing, a directory).
std::optional<std::string> ReadWholeFile(std::string_view path);

}  // namespace config
