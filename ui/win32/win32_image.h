// The program's pictures on Win32: the logo control and the window icon, both drawn from the
// portable pixels of ui/logo.h.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace ui::win32 {

// A top-down RGB picture as a bottom-up 24-bit DIB: rows reversed, bytes in BGR order, each row
// padded to four bytes.
std::vector<std::uint8_t> ToDib(int width, int height, const std::uint8_t* rgb);

// The program's 32x32 icon from the same pixels as the program file's icon; null on failure.
HICON CreateProgramIcon();

}  // namespace ui::win32
