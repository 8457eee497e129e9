#include "ui/win32/win32_text.h"

#include "platform/codepage.h"

namespace ui::win32 {

std::string Ansi(std::string_view utf8) { return platform::Utf8ToAnsi(utf8); }

std::string WindowTextUtf8(HWND hwnd) {
  if (!hwnd) return {};
  int length = GetWindowTextLengthA(hwnd);
  if (length <= 0) return {};
  std::string buffer(static_cast<size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(hwnd, buffer.data(), length + 1);
  buffer.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return platform::AnsiToUtf8(buffer);
}

void SetWindowTextUtf8(HWND hwnd, std::string_view utf8) {
  if (hwnd) SetWindowTextA(hwnd, Ansi(utf8).c_str());
}

}  // namespace ui::win32
