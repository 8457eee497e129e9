// The portable half of file replacement: the temporary file's name. The writing and renaming
// live in file_replace_posix.cpp and file_replace_win32.cpp.
#include "platform/file_replace.h"

#include <atomic>
#include <random>

namespace platform {

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

}  // namespace platform
