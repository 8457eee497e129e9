// The portable half of file replacement: the temporary file's name, and reading a file whole.
// The writing and renaming live in replace_file_posix.cpp and replace_file_win32.cpp.
#include "config/replace_file.h"

#include "exec/codepage.h"

#include <cstdio>
#include <memory>

namespace config {

std::string TemporaryPathFor(std::string_view path) { return std::string(path) + ".tmp"; }

std::string UnwritableFolderLine(std::string_view folder, std::string_view reason) {
  std::string line = "The folder ";
  line += folder;
  line += " cannot be written (";
  line += reason;
  line += "): the options will not be kept.";
  return line;
}

std::optional<std::string> ReadWholeFile(std::string_view path) {
  std::string native = exec::Utf8ToAnsi(path);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(native.c_str(), "rb"),
                                                        &std::fclose);
  if (!file) return std::nullopt;

  std::string bytes;
  char buffer[16384];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
  // A directory opens on some systems and only fails at the first read.
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

}  // namespace config
