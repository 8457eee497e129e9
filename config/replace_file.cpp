// The portable half of file replacement: the temporary file's name, and reading a file whole.
// The writing, renaming and reading live in replace_file_posix.cpp and replace_file_win32.cpp.
#include "config/replace_file.h"

#include <atomic>
#include <random>

namespace config {

std::string TemporaryPrefixFor(std::string_view path) { return std::string(path) + ".tmp"; }

std::string TemporaryPathFor(std::string_view path) {
  // The random part tells programs apart; the counter tells apart the tries of one program.
  static std::atomic<unsigned> counter{0};
  static const unsigned seed = std::random_device{}();
  std::mt19937 mix(seed + counter.fetch_add(1));
  std::string name = TemporaryPrefixFor(path);
  name += '-';
  constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  std::uniform_int_distribution<int> digit(0, 35);
  for (int i = 0; i < 8; ++i) name += kDigits[digit(mix)];
  return name;
}

std::string UnwritableFolderLine(std::string_view folder, std::string_view reason) {
  std::string line = "The folder ";
  line += folder;
  line += " cannot be written (";
  line += reason;
  line += "): the options will not be kept.";
  return line;
}

std::optional<std::string> ReadWholeFile(std::string_view path) {
  return ReadFilePart(path, 0, kWholeFileLimit);
}

}  // namespace config
