#include "flash/queued_files.h"

#include "flash/rom_prep.h"
#include "platform/file_read.h"
#include "platform/folders.h"
#include "platform/path_text.h"

namespace flash {

std::optional<std::string> QueuedFileProblem(std::string_view path, std::string_view appDir) {
  const std::string named(path);
  constexpr std::string_view kMoveIt = ": move it to another folder";
  if (platform::KindOfEntry(path) != platform::EntryKind::RegularFile) {
    return named + " is missing or not a regular file";
  }
  if (platform::SameEntry(path, platform::JoinPath(appDir, kImage))) {
    return named + " is the program's multi-game image " + std::string(kImage) +
           ", which a multi-game flash replaces" + std::string(kMoveIt);
  }
  const std::string scratch = platform::JoinPath(appDir, kScratchFolderName);
  if (platform::LiesInside(path, scratch)) {
    return named + " lies in the program's scratch folder " + scratch +
           ", which a flash with fixes empties" + std::string(kMoveIt);
  }
  if (!platform::CanReadFile(path)) return named + " cannot be read";
  return std::nullopt;
}

std::vector<std::string> RunProblems(std::string_view appDir, const std::vector<std::string>& roms,
                                     const std::vector<std::string>& files) {
  std::vector<std::string> problems;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (files[i] == roms[i]) {
      if (std::optional<std::string> problem = QueuedFileProblem(roms[i], appDir)) {
        problems.push_back(std::move(*problem));
      }
    } else if (!platform::CanReadFile(files[i])) {
      problems.push_back("the fixed copy " + files[i] + " of " + roms[i] + " cannot be read");
    }
  }
  return problems;
}

}  // namespace flash
