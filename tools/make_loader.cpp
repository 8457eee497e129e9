// Writes the multi-game loader "multigam.bin" that the cartridge simulator puts in front of
// the games of a multi-game image: 64 KiB, starting with a header anyone can recognise in a
// hex dump, the rest a fixed pattern. Usage: telvo-make-loader OUTPUT
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: telvo-make-loader OUTPUT\n");
    return 2;
  }
  std::string loader(64u << 10, '\0');
  const std::string header = "TELVO SIMULATED MULTI-GAME LOADER\n";
  loader.replace(0, header.size(), header);
  for (std::size_t i = 256; i < loader.size(); ++i) loader[i] = static_cast<char>(i * 7 + 3);
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
