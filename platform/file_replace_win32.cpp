// Replacing a file on Windows: write a temporary file beside it, FlushFileBuffers it, and move
// it over the old one with MoveFileExA, written through to disk.
#include "platform/file_replace.h"

#include "platform/codepage.h"

#include <windows.h>

// <windows.h> maps this name to its own ANSI/wide function; ours lives in namespace config.
#undef ReplaceFile

namespace platform {

namespace {

// Creates a temporary file of a fresh name beside path, never opening anything that was there
// already; INVALID_HANDLE_VALUE when the folder does not take new files.
HANDLE CreateTemporary(std::string_view path, std::string& temp) {
  constexpr int kTries = 100;
  for (int i = 0; i < kTries; ++i) {
    temp = Utf8ToAnsi(TemporaryPathFor(path));
    HANDLE file = ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    // A directory of that name gives "access denied" rather than "exists".
    DWORD error = ::GetLastError();
    if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS &&
        ::GetFileAttributesA(temp.c_str()) == INVALID_FILE_ATTRIBUTES) {
      return INVALID_HANDLE_VALUE;
    }
  }
  return INVALID_HANDLE_VALUE;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD chunk = bytes.size() > 0x40000000u ? 0x40000000u : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool ReplaceFile(std::string_view path, std::string_view bytes) {
  std::string target = Utf8ToAnsi(path);
  std::string temp;
  HANDLE file = CreateTemporary(path, temp);
  if (file == INVALID_HANDLE_VALUE) return false;

  bool written = WriteAll(file, bytes) && ::FlushFileBuffers(file);
  bool closed = ::CloseHandle(file) != 0;
  if (!written || !closed ||
      !::MoveFileExA(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileA(temp.c_str());
    return false;
  }
  return true;
}

std::optional<std::string> CannotCreateReason(std::string_view path) {
  const std::string file = Utf8ToAnsi(path);
  HANDLE handle = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    ::CloseHandle(handle);
    return std::nullopt;
  }
  const DWORD error = ::GetLastError();
  char text[512] = {};
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof text, nullptr);
  std::string reason = AnsiToUtf8(std::string_view(text, length));
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  if (reason.empty()) reason = "error " + std::to_string(error);
  return reason;
}

bool RemoveFile(std::string_view path) {
  return ::DeleteFileA(platform::Utf8ToAnsi(path).c_str()) != 0;
}

}  // namespace platform
