// The simulator's file names on Linux: a name is its bytes, in and out.
#include "tools/sim_files.h"

namespace sim {

void ReadNamesInCommandLineCodePage() {}

std::string NameOf(const std::filesystem::path& path) { return path.string(); }

std::FILE* OpenFile(const std::filesystem::path& file, const char* mode) {
  return std::fopen(file.c_str(), mode);
}

}  // namespace sim
