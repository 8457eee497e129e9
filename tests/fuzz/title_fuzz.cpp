// Any bytes as a ROM header's title field: the title box text holds no NUL, keeps a column
// for every byte that was a NUL, and is valid UTF-8.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "flash/rom_title.h"

namespace {

bool ValidUtf8(std::string_view s) {
  for (std::size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > s.size()) return false;
    for (std::size_t k = 1; k < n; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += n;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view field(reinterpret_cast<const char*>(data), size < 48 ? size : 48);
  std::string text = flash::TitleText(field);
  if (text.find('\0') != std::string::npos) std::abort();
  if (!ValidUtf8(text)) std::abort();
  return 0;
}
