#include "real_tools.h"

#include <sstream>

namespace testing_support {

std::vector<RealTool> RealTools() {
  // "2.2.1=/path,2.0.0=/path", from the build.
  std::vector<RealTool> tools;
  std::stringstream list(TELVO_REAL_TOOLS);
  for (std::string entry; std::getline(list, entry, ',');) {
    const auto equals = entry.find('=');
    tools.push_back({entry.substr(0, equals), entry.substr(equals + 1)});
  }
  return tools;
}

void PrintTo(const RealTool& tool, std::ostream* os) { *os << "ucon64 " << tool.release; }

std::string GenesisRom(std::size_t size, const std::string& title, bool sega, unsigned seed) {
  std::string rom(size, '\0');
  unsigned state = seed * 2654435761u + 1;
  for (char& byte : rom) {
    state = state * 1103515245u + 12345u;
    byte = static_cast<char>(state >> 16);
  }
  const auto put = [&](std::size_t at, std::string text, std::size_t width) {
    if (at + width > size) return;
    text.resize(width, ' ');
    rom.replace(at, width, text);
  };
  put(0x100, sega ? "SEGA GENESIS" : "", 16);
  put(0x120, title, 48);
  put(0x150, title, 48);
  return rom;
}

}  // namespace testing_support
