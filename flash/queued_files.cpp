#include "flash/queued_files.h"

#include "flash/multi_check.h"
#include "flash/rom_prep.h"
#include "platform/filesystem.h"
#include "platform/paths.h"

namespace flash {

std::optional<std::string> QueuedFileProblem(std::string_view path, std::string_view appDir) {
  const std::string named(path);
  const std::string moveIt = ": move it to another folder" + std::string(kNothingWritten);
  if (platform::KindOfEntry(path) != platform::EntryKind::RegularFile) {
    return named + " is missing or not a regular file" + std::string(kNothingWritten);
  }
  if (platform::SameEntry(path, platform::JoinPath(appDir, kImage))) {
    return named + " is the program's multi-game image " + std::string(kImage) +
           ", which a multi-game flash replaces" + moveIt;
  }
  const std::string scratch = platform::JoinPath(appDir, kScratchFolderName);
  if (platform::LiesInside(path, scratch)) {
    return named + " lies in the program's scratch folder " + scratch +
           ", which a flash with fixes empties" + moveIt;
  }
  if (!platform::CanReadFile(path)) {
    return named + " cannot be read" + std::string(kNothingWritten);
  }
  return std::nullopt;
}

bool MayRunWith(ui::JobHost& host, const std::vector<std::string>& roms,
                const std::vector<std::string>& files) {
  bool may = true;
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::optional<std::string> problem;
    if (files[i] == roms[i]) {
      problem = QueuedFileProblem(roms[i], host.appDir());
    } else if (!platform::CanReadFile(files[i])) {
      problem = "The fixed copy " + files[i] + " of " + roms[i] + " cannot be read" +
                std::string(kNothingWritten);
    }
    if (!problem) continue;
    SayLine(host, *problem);
    may = false;
  }
  return may;
}

}  // namespace flash
