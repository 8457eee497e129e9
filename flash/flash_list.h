// The flash list: game titles in List1, the files' full paths at the same positions in the
// hidden List2. Every operation changes both lists alike, so they always stay aligned.
#pragma once

#include "ui/window.h"

namespace flash {

// File1 click on the main window: shows the selected file's title in Text1.
void File1_Click(ui::Window& form1);
// "Add to list" (Command1), and the file list's double-click.
void AddToList(ui::Window& form1);
// "Remove Item" (Command2).
void RemoveItem(ui::Window& form1);
// "Erase List" (Command3).
void EraseList(ui::Window& form1);

}  // namespace flash
