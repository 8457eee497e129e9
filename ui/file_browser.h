// The drive, directory and file lists of a window kept in step: the file list follows the
// directory list, the directory list follows the drive list. The main window and the SRAM
// dialog each have such a trio.
#pragma once

#include <string>

#include "ui/window.h"

namespace ui {

struct FileBrowserNames {
  std::string drive = "Drive1";
  std::string dir = "Dir1";
  std::string file = "File1";
};

// Registers the Change handlers of the drive and directory lists on window.
void ConnectFileBrowser(Window& window, const FileBrowserNames& names = {});

}  // namespace ui
