// The tool's configuration file ".ucon64rc" and its environment variable UCON64_HOME.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace config {

inline constexpr std::string_view kToolConfigFileName = ".ucon64rc";
inline constexpr std::string_view kToolHomeVariable = "UCON64_HOME";

// The twelve lines, CR LF after each, with appDir inserted unchanged (UTF-8).
std::string ToolConfigText(std::string_view appDir);

// UCON64_HOME = appDir in the program's own environment. False on failure.
bool SetToolEnvironment(std::string_view appDir);
// Why ".ucon64rc" cannot name appDir: a line break in the folder's name would end its line
// there and start a setting of the name's own. nullopt when it can.
std::optional<std::string> ToolConfigProblem(std::string_view appDir);

// Replaces ".ucon64rc" in the current directory. False on failure, and when ToolConfigProblem
// has one; the old file then stays.
bool WriteToolConfig(std::string_view appDir);

}  // namespace config
