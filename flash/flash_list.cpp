#include "flash/flash_list.h"

#include "flash/rom_title.h"
#include "platform/path_text.h"

namespace flash {

void File1_Click(ui::Window& form1) {
  auto& files = form1.get<ui::FileList>("File1");
  if (files.listIndex() < 0) return;
  const std::string path =
      platform::JoinPath(form1.get<ui::DirList>("Dir1").path(), files.fileName());
  // A file that cannot be opened (deleted meanwhile, locked) leaves an empty title box.
  std::optional<std::string> field = ReadRomTitle(path);
  form1.get<ui::TextBox>("Text1").setText(field ? TitleText(*field) : std::string());
}

void AddToList(ui::Window& form1) {
  auto& files = form1.get<ui::FileList>("File1");
  if (files.listIndex() < 0) return;
  // The title box as it stands now, even when the user has typed over it.
  form1.get<ui::ListBox>("List1").addItem(form1.get<ui::TextBox>("Text1").text());
  form1.get<ui::ListBox>("List2").addItem(
      platform::JoinPath(form1.get<ui::DirList>("Dir1").path(), files.fileName()));
}

void RemoveItem(ui::Window& form1) {
  auto& titles = form1.get<ui::ListBox>("List1");
  const int index = titles.listIndex();
  if (index < 0) return;
  titles.removeItem(index);
  form1.get<ui::ListBox>("List2").removeItem(index);
}

void EraseList(ui::Window& form1) {
  form1.get<ui::ListBox>("List1").clear();
  form1.get<ui::ListBox>("List2").clear();
}

}  // namespace flash
