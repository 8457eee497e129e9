#include "flash/rom_title.h"

#include "config/replace_file.h"
#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace flash {

std::optional<std::string> ReadRomTitle(std::string_view path) {
  // Only a regular file is read: a FIFO or a device picked in the file list shows no title
  // instead of stopping the window.
  return config::ReadFilePart(path, kTitleOffset, kTitleLength);
}

std::string TitleText(std::string_view fieldBytes) {
  // A text box holds no NUL character (native boxes would end the text there). A NUL in the
  // field is shown as a blank instead, so the title keeps its columns and what follows it.
  std::string bytes(fieldBytes);
  for (char& c : bytes)
    if (c == '\0') c = ' ';
  return platform::AnsiToUtf8(bytes);
}

void File1_Click(ui::Window& form1) {
  auto& files = form1.get<ui::FileList>("File1");
  if (files.listIndex() < 0) return;
  const std::string path =
      platform::JoinPath(form1.get<ui::DirList>("Dir1").path(), files.fileName());
  // A file that cannot be opened (deleted meanwhile, locked) leaves an empty title box.
  std::optional<std::string> field = ReadRomTitle(path);
  form1.get<ui::TextBox>("Text1").setText(field ? TitleText(*field) : std::string());
}

}  // namespace flash
