// Text between the program (UTF-8) and the native controls (ANSI, the "A" functions).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace ui::win32 {

std::string Ansi(std::string_view utf8);
std::string WindowTextUtf8(HWND hwnd);
void SetWindowTextUtf8(HWND hwnd, std::string_view utf8);

}  // namespace ui::win32
