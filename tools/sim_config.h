// The tool's configuration file ".ucon64rc" in the configuration folder (UCON64_HOME). A file
// whose "version" is below 211 is renamed to ".ucon64rc.old" and a new one is written, with a
// note, before the run does anything else; a file of version 211 or later is only read, never
// written. With TELVO_SIM_FAIL_CONFIG_UPDATE=1 that update fails, as it now and then does with
// the tool, and the run ends with exit code 255 having done nothing.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

class Console;

constexpr int kConfigVersion = 211;
constexpr int kConfigUpdateFailed = 255;

// The value of the "version" line ("version = 207", blanks optional); nullopt without one.
std::optional<int> ConfigVersion(std::string_view text);
// The file the simulator writes when it updates an old one.
std::string NewConfigText();

// Checks and, when old, updates folder/.ucon64rc. Returns an exit code when the run must end.
std::optional<int> UpdateConfig(const std::filesystem::path& folder, bool failUpdate,
                                Console& console);

}  // namespace sim
