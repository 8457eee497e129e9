// File-system services on Windows, through the ANSI entry points: paths are UTF-8 inside the
// program and cross to the system in the ANSI code page.
#include "app/paths.h"

#include "exec/codepage.h"

#include <windows.h>

#include <string>
#include <vector>

namespace app {

namespace {

// The volume-label attribute bit of the old FAT file systems; no longer named by the headers.
constexpr DWORD kVolumeLabelAttribute = 0x8;

// The folder part of a path: no trailing separator except at a drive root ("c:\").
std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('\\');
  if (slash == std::string::npos) return std::string();
  if (slash == 2 && path[1] == ':') return path.substr(0, 3);
  return path.substr(0, slash);
}

std::string ModuleFileName() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    DWORD got = ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (got == 0) return std::string();
    if (got < buffer.size()) return std::string(buffer.data(), got);
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string ApplicationDirectory() { return exec::AnsiToUtf8(FolderOf(ModuleFileName())); }

std::string CurrentDirectory() {
  DWORD needed = ::GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return std::string();
  std::vector<char> buffer(needed);
  DWORD got = ::GetCurrentDirectoryA(needed, buffer.data());
  if (got == 0 || got >= needed) return std::string();
  return exec::AnsiToUtf8(std::string_view(buffer.data(), got));
}

// SetCurrentDirectoryA switches the current drive along with the directory.
bool ChangeDirectory(std::string_view path) {
  return ::SetCurrentDirectoryA(exec::Utf8ToAnsi(path).c_str()) != 0;
}

bool FileExists(std::string_view path) {
  if (path.empty()) return false;
  DWORD attributes = ::GetFileAttributesA(exec::Utf8ToAnsi(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | kVolumeLabelAttribute)) == 0;
}

bool RemoveFile(std::string_view path) {
  return ::DeleteFileA(exec::Utf8ToAnsi(path).c_str()) != 0;
}

}  // namespace app
