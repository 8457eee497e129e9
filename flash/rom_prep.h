// The ROM fixes ("Fix unlicensed games", "Pad ROM", "Fix checksum") made before a flash: the
// tool writes a fixed copy of each queued ROM into a scratch folder of the application
// directory, one run per fix, and the copies are what gets flashed or combined. The user's ROM
// files are never written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exec/tool_commands.h"
#include "ui/job_host.h"
#include "ui/job_run.h"

namespace flash {

// The scratch folder's name in the application directory.
inline constexpr std::string_view kScratchFolderName = "telvo-prep";

// The ticked fixes as the tool's actions, in the order they run: the checksum last, so that it
// covers the bytes the other two wrote.
std::vector<std::string_view> FixesToRun(const exec::RomOptions& options);

// Padding goes to whole Mbit.
inline constexpr std::uint64_t kMbit = 128 * 1024;

// The fixes to run on one ROM of size bytes. The tool's "--pad" always adds, even to a ROM that
// is whole Mbit already, so it runs only on one that is not. A game for a multi-game image that
// is not whole Mbit is padded whether or not "Pad ROM" is ticked: the image's game table keeps
// whole Mbit of each game, and the rest would be cut and the games after it shifted.
std::vector<std::string_view> FixesFor(const exec::RomOptions& options, std::uint64_t size,
                                       bool multiGame);

// The scratch folder of one job. create() makes it empty; it goes, with everything in it, when
// the object does, so that no way out of the job leaves copies behind.
class ScratchFolder {
 public:
  explicit ScratchFolder(std::string path) : path_(std::move(path)) {}
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  bool create();
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  bool created_ = false;
};

// Makes the scratch folder empty and runs fixes[i] on ROM i: entry i (from 1) in sub-folder "i" of the scratch folder, so that
// equal file names from different folders cannot collide, and each fix in a folder of its own
// named after it. A run that leaves no copy is followed by the next one on the previous file.
// The result holds, per ROM, its last copy, or the ROM itself when no run left one; nullopt
// (with a line in the output box saying why) when a folder could not be made, or when a run
// failed (job then holds the verdict).
std::optional<std::vector<std::string>> PrepareRoms(ui::JobHost& host, ui::JobRun& job,
                                                    const std::vector<std::string>& roms,
                                                    const std::vector<std::vector<std::string_view>>& fixes,
                                                    ScratchFolder& scratch);

// The verdict's name of one fix run on the queued ROM rom: "fix checksum on <rom>".
std::string FixStepName(std::string_view fix, std::string_view rom);

}  // namespace flash
