#include "flash/rom_prep.h"

#include "exec/process.h"
#include "flash/multi_check.h"
#include "flash/queued_files.h"
#include "platform/file_read.h"
#include "platform/folders.h"
#include "platform/path_text.h"

namespace flash {

std::vector<std::string_view> FixesToRun(const exec::RomOptions& options) {
  std::vector<std::string_view> fixes;
  if (options.fixUnlicensed == 1) fixes.push_back("--1991");
  if (options.padRom == 1) fixes.push_back("--pad");
  if (options.fixChecksum == 1) fixes.push_back("--chk");
  return fixes;
}

std::vector<std::string_view> FixesFor(const exec::RomOptions& options, std::uint64_t size,
                                       bool multiGame) {
  exec::RomOptions wanted = options;
  const bool wholeMbit = size % kMbit == 0;
  wanted.padRom = !wholeMbit && (options.padRom == 1 || multiGame) ? 1 : 0;
  return FixesToRun(wanted);
}

ScratchFolder::~ScratchFolder() {
  if (created_) platform::RemoveFolderTree(path_);
}

bool ScratchFolder::create() {
  // Marked before the attempt: whatever a failed attempt left is removed all the same.
  created_ = true;
  return platform::CreateEmptyFolder(path_);
}

std::string FixStepName(std::string_view fix, std::string_view rom) {
  const std::string file(rom);
  if (fix == "--chk") return "fix checksum on " + file;
  if (fix == "--pad") return "pad " + file;
  return "fix unlicensed game " + file;
}

std::optional<std::vector<std::string>> PrepareRoms(ui::JobHost& host, ui::JobRun& job,
                                                    const std::vector<std::string>& roms,
                                                    const std::vector<std::vector<std::string_view>>& fixes,
                                                    ScratchFolder& scratch) {
  const auto cannotMake = [&](const std::string& folder) {
    ui::SayLine(host.form, "The folder " + folder + " for the fixed copies cannot be made" +
                               std::string(kNothingWritten));
    return std::nullopt;
  };
  if (!scratch.create()) return cannotMake(scratch.path());
  std::vector<std::string> prepared;
  for (std::size_t i = 0; i < roms.size(); ++i) {
    const std::string entry = platform::JoinPath(scratch.path(), std::to_string(i + 1));
    if (!platform::CreateEmptyFolder(entry)) return cannotMake(entry);
    std::string file = roms[i];
    for (std::string_view fix : fixes[i]) {
      // Each fix writes into a folder of its own: the copy it starts from is never the name
      // it writes, so the tool renames nothing, and a copy there is surely this run's.
      const std::string folder = platform::JoinPath(entry, fix.substr(2));
      if (!platform::CreateEmptyFolder(folder)) return cannotMake(folder);
      // The queued ROM itself is checked again right before the run that is given it.
      if (const std::vector<std::string> problems = RunProblems(host.run.appDir, {roms[i]}, {file});
          !problems.empty()) {
        job.fail(problems.front());
        return std::nullopt;
      }
      if (!job.run({exec::RomFixCommand(fix, file, folder), FixStepName(fix, roms[i])}))
        return std::nullopt;
      const std::string copy = platform::JoinPath(folder, platform::FileNameOf(file));
      if (platform::KindOfEntry(copy) == platform::EntryKind::RegularFile) file = copy;
    }
    prepared.push_back(file);
  }
  return prepared;
}

}  // namespace flash
