// Replacing a file on Windows: write a temporary file beside it, FlushFileBuffers it, and move
// it over the old one with MoveFileExA, written through to disk.
#include "config/replace_file.h"

#include "exec/codepage.h"

#include <windows.h>

// <windows.h> maps this name to its own ANSI/wide function; ours lives in namespace config.
#undef ReplaceFile

namespace config {

namespace {

// A leftover temporary file from an interrupted run is removed so that saving keeps working;
// a directory under that name is not ours to touch.
HANDLE CreateTemporary(const std::string& temp) {
  auto create = [&] {
    return ::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  HANDLE file = create();
  if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  DWORD attributes = ::GetFileAttributesA(temp.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return INVALID_HANDLE_VALUE;
  }
  if (!::DeleteFileA(temp.c_str())) return INVALID_HANDLE_VALUE;
  return create();
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
  std::string target = exec::Utf8ToAnsi(path);
  std::string temp = exec::Utf8ToAnsi(TemporaryPathFor(path));
  HANDLE file = CreateTemporary(temp);
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
  const std::string file = exec::Utf8ToAnsi(path);
  HANDLE handle = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    ::CloseHandle(handle);
    return std::nullopt;
  }
  const DWORD error = ::GetLastError();
  char text[512] = {};
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, sizeof text, nullptr);
  std::string reason = exec::AnsiToUtf8(std::string_view(text, length));
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  if (reason.empty()) reason = "error " + std::to_string(error);
  return reason;
}

}  // namespace config
