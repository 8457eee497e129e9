// The game title of a Genesis/Mega Drive ROM image: the 48-byte overseas title field of the
// cartridge header.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace flash {

inline constexpr unsigned long kTitleOffset = 336;
inline constexpr std::size_t kTitleLength = 48;

// The title field's bytes as text, unaltered: trailing blanks stay. A file shorter than the
// field gives what it has of it (possibly nothing); nullopt when the file cannot be opened or
// is not a regular file.
std::optional<std::string> ReadRomTitle(std::string_view path);

// The title field's bytes as the title box shows them.
std::string TitleText(std::string_view fieldBytes);

}  // namespace flash
