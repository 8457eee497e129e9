#include "tools/sim_config.h"

#include <system_error>

#include "tools/sim_cartridge.h"
#include "tools/sim_files.h"

namespace sim {
namespace fs = std::filesystem;

namespace {

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<int> ConfigVersion(std::string_view text) {
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    const auto equals = line.find('=');
    if (equals == std::string_view::npos || Trim(line.substr(0, equals)) != "version") continue;
    const std::string_view value = Trim(line.substr(equals + 1));
    if (value.empty() || value.size() > 6) return 0;
    int version = 0;
    for (char c : value) {
      if (c < '0' || c > '9') return 0;
      version = version * 10 + (c - '0');
    }
    return version;
  }
  return std::nullopt;
}

std::string NewConfigText() {
  return "# Telvo cartridge simulator configuration, written when an older one was found\n"
         "version = " + std::to_string(kConfigVersion) + "\n"
         "backups = 1\n"
         "parport = 378\n";
}

std::optional<int> UpdateConfig(const fs::path& folder, bool failUpdate, Console& console) {
  const fs::path file = folder / ".ucon64rc";
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return std::nullopt;
  std::string text;
  std::string error;
  if (!ReadFile(file, text, error)) {
    console.err("ERROR: cannot read the configuration " + error + "\n");
    return kConfigUpdateFailed;
  }
  // A file without a version line is as old as can be.
  const int version = ConfigVersion(text).value_or(0);
  if (version >= kConfigVersion) return std::nullopt;
  if (failUpdate) {
    console.err("ERROR: the configuration " + NameOf(file) + " (version " +
                std::to_string(version) + ") could not be updated; nothing was done\n");
    return kConfigUpdateFailed;
  }
  fs::path old = file;
  old += ".old";
  fs::rename(file, old, ec);
  if (ec) {
    console.err("ERROR: cannot rename " + NameOf(file) + " to " + NameOf(old) + ": " +
                ec.message() + "\n");
    return kConfigUpdateFailed;
  }
  if (!ReplaceFile(file, NewConfigText(), error)) {
    console.err("ERROR: cannot write the configuration " + error + "\n");
    return kConfigUpdateFailed;
  }
  console.err("NOTE: the configuration " + NameOf(file) + " had version " +
              std::to_string(version) + "; it was kept as " + NameOf(old) +
              " and a new one of version " + std::to_string(kConfigVersion) + " was written\n");
  return std::nullopt;
}

}  // namespace sim
