// The scratch folder on Windows, through the ANSI entry points like every other file service:
// paths are UTF-8 inside the program and cross to the system in the ANSI code page.
#include "flash/scratch_folder.h"

#include <windows.h>

#include <string>
#include <vector>

#include "platform/codepage.h"

namespace flash {

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

std::optional<std::uint64_t> RegularFileSize(std::string_view path) {
  const std::string file = platform::Utf8ToAnsi(path);
  if (file.empty()) return std::nullopt;
  HANDLE handle = ::CreateFileA(file.c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size;
  const bool known = ::GetFileType(handle) == FILE_TYPE_DISK && ::GetFileSizeEx(handle, &size);
  ::CloseHandle(handle);
  if (!known) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

}  // namespace flash
