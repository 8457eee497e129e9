// Windows view of drives and directories for the file browser: the logical drives, each with
// the current directory the system keeps for it. Names go to and come from the system in the
// ANSI code page, as they do for the folder trees of the ROM fixes.
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/folders.h"
#include "platform/path_text.h"

namespace platform {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// Windows lists names without regard to case, in the order of the user's locale; names that
// differ only in case (possible on shares) keep byte order so the list is stable.
bool NameLess(const std::string& a, const std::string& b) {
  int order = lstrcmpiA(a.c_str(), b.c_str());
  if (order != 0) return order < 0;
  return a < b;
}

enum class Want { Files, Directories };

std::vector<std::string> ListEntries(std::string_view dir, Want want) {
  std::vector<std::string> names;
  std::string pattern = platform::Utf8ToAnsi(dir);
  if (pattern.empty()) return names;
  if (!IsSeparator(pattern.back())) pattern += '\\';
  pattern += '*';
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    const std::string name = found.cFileName;
    const DWORD attributes = found.dwFileAttributes;
    if (name == "." || name == ".." || (attributes & FILE_ATTRIBUTE_HIDDEN)) continue;
    const bool isDir = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (want == Want::Files && (isDir || (attributes & FILE_ATTRIBUTE_SYSTEM))) continue;
    if (want == Want::Directories && !isDir) continue;
    names.push_back(name);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end(), NameLess);
  for (std::string& name : names) name = platform::AnsiToUtf8(name);
  return names;
}

}  // namespace

std::vector<std::string> ListDrives() {
  std::vector<std::string> drives;
  const DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (mask & (DWORD{1} << i)) drives.push_back(std::string{static_cast<char>('a' + i), ':'});
  }
  return drives;
}

std::string DriveOfPath(std::string_view path) {
  if (!HasDriveLetter(path)) return "";
  return std::string{static_cast<char>(std::tolower(static_cast<unsigned char>(path[0]))), ':'};
}

std::vector<std::string> ListFiles(std::string_view dir) { return ListEntries(dir, Want::Files); }

std::vector<std::string> ListSubdirectories(std::string_view dir) {
  return ListEntries(dir, Want::Directories);
}

bool IsDirectory(std::string_view path) {
  const DWORD attributes = GetFileAttributesA(platform::Utf8ToAnsi(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string CurrentDirectory() {
  DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return std::string();
  std::vector<char> buffer(needed);
  DWORD got = GetCurrentDirectoryA(needed, buffer.data());
  if (got == 0 || got >= needed) return std::string();
  return platform::AnsiToUtf8(std::string_view(buffer.data(), got));
}

// "x:" alone names the current directory of drive x, which the system keeps per drive.
// Anything else (a path, a share) stands for itself.
std::string SystemCurrentDirectoryOfDrive(std::string_view drive) {
  if (drive.size() != 2 || !HasDriveLetter(drive)) return std::string(drive);
  const std::string fallback = std::string(drive) + '\\';
  char buffer[MAX_PATH];
  DWORD length = GetFullPathNameA(std::string(drive).c_str(), MAX_PATH, buffer, nullptr);
  if (length == 0 || length >= MAX_PATH) return fallback;
  std::string_view full(buffer, length);
  // Wine answers "c:\dir\"; a directory has no trailing separator except at the root.
  if (full.size() > 3 && IsSeparator(full.back())) full.remove_suffix(1);
  return platform::AnsiToUtf8(full);
}

// Folder trees, for the folder the ROM fixes are made in.

namespace {

// path in the ANSI code page.
bool RemoveEntry(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  // A read-only copy would refuse to go.
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    ::SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  // A junction is removed as the link it is, never entered.
  const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  if (!folder) return ::DeleteFileA(path.c_str()) != 0;
  if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.push_back(name);
      } while (::FindNextFileA(search, &found));
      ::FindClose(search);
    }
    for (const std::string& name : names) RemoveEntry(path + "\\" + name);
  }
  return ::RemoveDirectoryA(path.c_str()) != 0;
}

}  // namespace

bool CreateEmptyFolder(std::string_view path) {
  const std::string folder = platform::Utf8ToAnsi(path);
  if (folder.empty() || !RemoveEntry(folder)) return false;
  return ::CreateDirectoryA(folder.c_str(), nullptr) != 0;
}

bool RemoveFolderTree(std::string_view path) {
  const std::string folder = platform::Utf8ToAnsi(path);
  return !folder.empty() && RemoveEntry(folder);
}

namespace {

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

std::string ApplicationDirectory() { return platform::AnsiToUtf8(FolderOf(ModuleFileName())); }

// SetCurrentDirectoryA switches the current drive along with the directory.
bool ChangeDirectory(std::string_view path) {
  return ::SetCurrentDirectoryA(platform::Utf8ToAnsi(path).c_str()) != 0;
}

bool MakeFolder(std::string_view path) {
  const std::string folder = platform::Utf8ToAnsi(path);
  if (folder.empty()) return false;
  ::CreateDirectoryA(folder.c_str(), nullptr);
  const DWORD attributes = ::GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace platform
