// Writes the multi-game loader "multigam.bin" that the cartridge simulator puts in front of
// the games of a multi-game image: 128 KiB with a Genesis header (the console name "SEGA" at
// 0x100, names, ROM range and a correct checksum at 0x18E), the code area a fixed pattern, so
// that the build takes it as the loader it must be. Usage: telvo-make-loader OUTPUT
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

void Put(std::string& rom, std::size_t at, const std::string& text, std::size_t width) {
  std::string field = text;
  field.resize(width, ' ');
  rom.replace(at, width, field);
}

void Put32(std::string& rom, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) rom[at + i] = static_cast<char>(value >> (24 - 8 * i));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: telvo-make-loader OUTPUT\n");
    return 2;
  }
  constexpr std::size_t kSize = 128u << 10;
  std::string loader(kSize, '\0');
  Put32(loader, 0, 0x00FFFE00);  // initial stack pointer
  Put32(loader, 4, 0x00000200);  // entry point: right after the header
  Put(loader, 0x100, "SEGA GENESIS", 16);
  Put(loader, 0x110, "(C)TELVO 2026.JAN", 16);
  Put(loader, 0x120, "TELVO SIMULATED MULTI-GAME LOADER", 48);
  Put(loader, 0x150, "TELVO SIMULATED MULTI-GAME LOADER", 48);
  Put(loader, 0x180, "GM 00000000-00", 14);
  Put(loader, 0x190, "J", 16);
  Put32(loader, 0x1A0, 0);
  Put32(loader, 0x1A4, kSize - 1);
  Put32(loader, 0x1A8, 0x00FF0000);
  Put32(loader, 0x1AC, 0x00FFFFFF);
  Put(loader, 0x1F0, "JUE", 16);
  for (std::size_t i = 0x200; i < loader.size(); ++i) loader[i] = static_cast<char>(i * 7 + 3);
  std::uint16_t sum = 0;
  for (std::size_t i = 0x200; i < loader.size(); i += 2) {
    sum = static_cast<std::uint16_t>(sum + ((static_cast<unsigned char>(loader[i]) << 8) |
                                            static_cast<unsigned char>(loader[i + 1])));
  }
  loader[0x18E] = static_cast<char>(sum >> 8);
  loader[0x18F] = static_cast<char>(sum & 0xFF);
  std::FILE* out = std::fopen(argv[1], "wb");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(loader.data(), 1, loader.size(), out) == loader.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
