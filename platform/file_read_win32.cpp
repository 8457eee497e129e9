// Reading files and asking what an entry is on Windows, through the ANSI entry points: paths are
// UTF-8 inside the program and cross to the system in the ANSI code page.
#include "platform/file_read.h"

#include "platform/codepage.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace platform {

namespace {

// A handle (to be closed) on the disk file that ansi names; INVALID_HANDLE_VALUE for anything
// else. Device names (CON, NUL, COM1 ...) answer the attribute query too; only a disk file is
// one the tool can read as a ROM or a save.
HANDLE OpenDiskFile(const std::string& ansi) {
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE handle = ::CreateFileA(ansi.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE || ::GetFileType(handle) == FILE_TYPE_DISK) return handle;
  ::CloseHandle(handle);
  return INVALID_HANDLE_VALUE;
}

// The volume-label attribute bit of the old FAT file systems; no longer named by the headers.
constexpr DWORD kVolumeLabelAttribute = 0x8;

}  // namespace

bool FileExists(std::string_view path) {
  if (path.empty()) return false;
  DWORD attributes = ::GetFileAttributesA(platform::Utf8ToAnsi(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | kVolumeLabelAttribute)) == 0;
}

EntryKind KindOfEntry(std::string_view path) {
  if (path.empty()) return EntryKind::Missing;
  const std::string ansi = platform::Utf8ToAnsi(path);
  const DWORD attributes = ::GetFileAttributesA(ansi.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return EntryKind::Missing;
  if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | kVolumeLabelAttribute)) != 0) {
    return EntryKind::Other;
  }
  HANDLE handle = OpenDiskFile(ansi);
  if (handle == INVALID_HANDLE_VALUE) return EntryKind::Other;
  ::CloseHandle(handle);
  return EntryKind::RegularFile;
}

std::optional<std::uint64_t> RegularFileSize(std::string_view path) {
  if (path.empty()) return std::nullopt;
  HANDLE handle = OpenDiskFile(platform::Utf8ToAnsi(path));
  if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
  LARGE_INTEGER size;
  const bool known = ::GetFileSizeEx(handle, &size) != 0;
  ::CloseHandle(handle);
  if (!known) return std::nullopt;
  return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<std::string> ReadFilePart(std::string_view path, std::uint64_t offset,
                                        std::size_t limit) {
  std::string native = platform::Utf8ToAnsi(path);
  if (native.empty()) return std::nullopt;
  HANDLE file = ::CreateFileA(native.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  // A device name ("CON", "COM1") or a pipe opens as well; only a file on a disk is read.
  if (::GetFileType(file) != FILE_TYPE_DISK) {
    ::CloseHandle(file);
    return std::nullopt;
  }

  std::string bytes;
  bool failed = false;
  LARGE_INTEGER start;
  start.QuadPart = static_cast<LONGLONG>(offset);
  if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) failed = true;
  char buffer[16384];
  while (!failed && bytes.size() < limit) {
    DWORD want = static_cast<DWORD>(std::min(sizeof buffer, limit - bytes.size()));
    DWORD got = 0;
    if (!::ReadFile(file, buffer, want, &got, nullptr)) failed = true;
    if (got == 0) break;
    bytes.append(buffer, got);
  }
  ::CloseHandle(file);
  if (failed) return std::nullopt;
  return bytes;
}

bool CanReadFile(std::string_view path) {
  if (path.empty()) return false;
  // Shared as the tool's own open shares it: a file another program holds without sharing
  // cannot be read by the tool either.
  HANDLE handle = ::CreateFileA(platform::Utf8ToAnsi(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool disk = ::GetFileType(handle) == FILE_TYPE_DISK;
  ::CloseHandle(handle);
  return disk;
}

namespace {

// The volume and file index of what path names, folders included; false when it cannot be
// opened.
bool IdentityOf(std::string_view path, BY_HANDLE_FILE_INFORMATION& info) {
  if (path.empty()) return false;
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  HANDLE handle = ::CreateFileA(platform::Utf8ToAnsi(path).c_str(), 0, kShareAll, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool known = ::GetFileInformationByHandle(handle, &info) != 0;
  ::CloseHandle(handle);
  return known;
}

}  // namespace

bool SameEntry(std::string_view a, std::string_view b) {
  BY_HANDLE_FILE_INFORMATION first{};
  BY_HANDLE_FILE_INFORMATION second{};
  return IdentityOf(a, first) && IdentityOf(b, second) &&
         first.dwVolumeSerialNumber == second.dwVolumeSerialNumber &&
         first.nFileIndexHigh == second.nFileIndexHigh &&
         first.nFileIndexLow == second.nFileIndexLow;
}

std::string FullPathOf(std::string_view path) {
  if (path.empty()) return std::string();
  const std::string ansi = platform::Utf8ToAnsi(path);
  if (::GetFileAttributesA(ansi.c_str()) == INVALID_FILE_ATTRIBUTES) return std::string();
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD got =
        ::GetFullPathNameA(ansi.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (got == 0) return std::string();
    if (got < buffer.size()) return platform::AnsiToUtf8(std::string(buffer.data(), got));
    buffer.resize(got);
  }
}

}  // namespace platform
