// Reading the run log that the cartridge simulator (ucon64 in the build directory) appends to
// when TELVO_SIM_LOG names a file: one record per run, with its arguments, working directory
// and UCON64_HOME, written before the run prints anything.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

struct ToolRun {
  std::vector<std::string> args;  // after the program name
  std::string cwd;
  std::optional<std::string> home;  // UCON64_HOME; empty when it was not set
};

// The runs of log text, in order. A record cut short (a run still writing) is left out.
std::vector<ToolRun> ParseToolLog(std::string_view text);
// The runs recorded in file; none when it does not exist.
std::vector<ToolRun> ReadToolLog(const std::string& file);

}  // namespace testing_support
