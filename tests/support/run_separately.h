// A program run with its standard output and standard error kept apart (POSIX only): what a
// tool writes to each stream, and how it ended.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

struct Separate {
  int status = -1;  // the exit code; -1 when the program could not start or did not exit
  int signal = 0;   // the signal that ended it, if one did
  std::string out;
  std::string err;
};

// Runs program with args in folder, no standard input, the streams kept in files in scratch.
Separate RunSeparately(const std::filesystem::path& program, const std::vector<std::string>& args,
                       const std::filesystem::path& folder, const std::filesystem::path& scratch);

}  // namespace testing_support
