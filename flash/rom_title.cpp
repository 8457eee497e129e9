#include "flash/rom_title.h"

#include "platform/codepage.h"
#include "platform/file_read.h"

namespace flash {

std::optional<std::string> ReadRomTitle(std::string_view path) {
  // Only a regular file is read: a FIFO or a device picked in the file list shows no title
  // instead of stopping the window.
  return platform::ReadFilePart(path, kTitleOffset, kTitleLength);
}

std::string TitleText(std::string_view fieldBytes) {
  // A text box holds no NUL character (native boxes would end the text there). A NUL in the
  // field is shown as a blank instead, so the title keeps its columns and what follows it.
  std::string bytes(fieldBytes);
  for (char& c : bytes)
    if (c == '\0') c = ' ';
  return platform::AnsiToUtf8(bytes);
}

}  // namespace flash
