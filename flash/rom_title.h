// The game title of a Genesis/Mega Drive ROM image: the 48-byte overseas title field of the
// cartridge header.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/window.h"

namespace flash {

inline constexpr unsigned long kTitleOffset = 336;
inline constexpr size_t kTitleLength = 48;

// The title field's bytes as text, unaltered: trailing blanks stay. A file shorter than the
// field gives what it has of it (possibly nothing); nullopt when the file cannot be opened or
// is not a regular file.
std::optional<std::string> ReadRomTitle(std::string_view path);

// The title field's bytes as the title box shows them.
std::string TitleText(std::string_view fieldBytes);

// File1 click on the main window: shows the selected file's title in Text1.
void File1_Click(ui::Window& form1);

}  // namespace flash
