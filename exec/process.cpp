// The platform-independent part of starting the tool: finding a bare program name the way
// Windows does.
#include "exec/process.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace exec {
namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
constexpr char kPathListSeparator = ';';
constexpr std::string_view kDirSeparators = "\\/:";
constexpr const char* kJoin = "\\";
#else
constexpr char kPathListSeparator = ':';
constexpr std::string_view kDirSeparators = "/";
constexpr const char* kJoin = "/";
#endif

bool IsProgramFile(const std::string& candidate) {
  std::error_code ec;
  const fs::file_status status = fs::status(candidate, ec);
  if (ec || !fs::is_regular_file(status)) return false;
#ifdef _WIN32
  return true;
#else
  constexpr fs::perms anyExec =
      fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  return (status.permissions() & anyExec) != fs::perms::none;
#endif
}

// The directory joined with the name and nothing else: a root that already ends with the
// separator gives a doubled one, which the system accepts.
std::string FindIn(std::string_view dir, std::string_view name) {
  if (dir.empty()) return {};
  std::string candidate(dir);
  candidate += kJoin;
  candidate += name;
  if (IsProgramFile(candidate)) return candidate;
#ifdef _WIN32
  if (IsProgramFile(candidate + ".exe")) return candidate + ".exe";
#endif
  return {};
}

}  // namespace

bool HoldsDirectory(std::string_view name) {
  return name.find_first_of(kDirSeparators) != std::string_view::npos;
}

std::string WhereItWasLookedFor(std::string_view name, std::string_view appDir) {
  const std::string dir(appDir);
#ifdef _WIN32
  // The system's own search when no program path is given.
  const std::string order = "the application directory (" + dir +
                            "), the current directory, the system directories, then the "
                            "directories of PATH";
#else
  const std::string order =
      "the application directory (" + dir + "), then the directories of PATH";
#endif
  return "; looked for in " + order + ": put " + std::string(name) + " into " + dir;
}

std::string FindProgram(std::string_view name, std::string_view appDir) {
  if (name.empty()) return {};
  if (HoldsDirectory(name)) return std::string(name);
  if (std::string found = FindIn(appDir, name); !found.empty()) return found;
  const char* path = std::getenv("PATH");
  if (path == nullptr) return {};
  std::string_view rest(path);
  while (true) {
    const std::size_t end = rest.find(kPathListSeparator);
    // An empty entry would mean the current directory, which is searched only when named.
    if (std::string found = FindIn(rest.substr(0, end), name); !found.empty()) return found;
    if (end == std::string_view::npos) return {};
    rest.remove_prefix(end + 1);
  }
}

}  // namespace exec
