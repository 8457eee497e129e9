// The simulator's file names on Windows. A console program's arguments and environment arrive
// in the ANSI code page, as the program writes them. The C++ library turns 8-bit text into a
// path through the C library's character type, which reads it as Latin-1 until told the code
// page, and gives a path back as UTF-8; so names are read and printed in the ANSI code page
// here, and files are opened by their UTF-16 names.
#include "tools/sim_files.h"

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

namespace sim {

void ReadNamesInCommandLineCodePage() { std::setlocale(LC_CTYPE, ".ACP"); }

std::string NameOf(const std::filesystem::path& path) {
  const std::wstring& wide = path.native();
  std::string text(wide.size() * MB_CUR_MAX, '\0');
  const std::size_t size = std::wcstombs(text.data(), wide.c_str(), text.size());
  // A character the code page cannot hold: the UTF-8 form at least shows it.
  if (size == static_cast<std::size_t>(-1)) return path.string();
  text.resize(size);
  return text;
}

std::FILE* OpenFile(const std::filesystem::path& file, const char* mode) {
  const std::wstring wideMode(mode, mode + std::strlen(mode));
  return _wfopen(file.c_str(), wideMode.c_str());
}

}  // namespace sim
