// The record a simulator run leaves for tests: when TELVO_SIM_LOG names a file, each run
// appends, before it prints anything,
//   run
//   cwd <current directory>
//   home <UCON64_HOME>          ("unset" instead of "home ..." when it is not set)
//   arg <argument>               one line per argument after the program name
//   end
// Bytes below 0x20 and '%' are written as %XX, so an argument is always one line.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sim {

std::string EscapeLogValue(std::string_view value);
std::string FormatLogRecord(const std::vector<std::string>& args, std::string_view cwd,
                            const char* home);
// Appends the record in one write; false when the log cannot be written.
bool AppendLogRecord(const std::string& logFile, const std::string& record);

}  // namespace sim
