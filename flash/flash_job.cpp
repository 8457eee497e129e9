#include "flash/flash_job.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "exec/process.h"
#include "exec/tool_commands.h"
#include "flash/multi_check.h"
#include "flash/queued_files.h"
#include "flash/rom_prep.h"
#include "platform/file_read.h"
#include "platform/file_replace.h"
#include "platform/folders.h"
#include "platform/path_text.h"

namespace flash {

namespace {

constexpr std::string_view kLoader = "multigam.bin";

exec::RomOptions RomOptionsOf(ui::Window& w) {
  return {w.get<ui::CheckBox>("Check1").value(), w.get<ui::CheckBox>("Check2").value(),
          w.get<ui::CheckBox>("Check3").value(), w.get<ui::CheckBox>("Check4").value()};
}

std::string TypedPort(ui::Window& w) { return w.get<ui::TextBox>("Text2").text(); }

// The port digits the tool is given; empty when the box holds no port address, which the job
// checks before it runs anything.
std::string Port(ui::Window& w) { return exec::PortDigits(TypedPort(w)).value_or(""); }

// Runs what has to run however the job ends.
class AtExit {
 public:
  explicit AtExit(std::function<void()> run) : run_(std::move(run)) {}
  ~AtExit() { run_(); }
  AtExit(const AtExit&) = delete;
  AtExit& operator=(const AtExit&) = delete;

 private:
  std::function<void()> run_;
};

// The files to hand on to the flash or the build: the ROMs themselves when no fix is to run,
// otherwise their fixed copies in scratch; nullopt when the copies could not be made or a fix
// failed (the job then holds the verdict). The box names each game padded for the image.
std::optional<std::vector<std::string>> Prepared(ui::JobHost& host, ui::JobRun& job,
                                                 const std::vector<std::string>& roms,
                                                 ScratchFolder& scratch) {
  const bool multiGame = roms.size() > 1;
  std::vector<std::vector<std::string_view>> fixes;
  bool any = false;
  for (const std::string& rom : roms) {
    const std::uint64_t size = platform::RegularFileSize(rom).value_or(0);
    fixes.push_back(FixesFor(RomOptionsOf(host.form), size, multiGame));
    any = any || !fixes.back().empty();
    const bool padded =
        std::find(fixes.back().begin(), fixes.back().end(), "--pad") != fixes.back().end();
    if (multiGame && padded) {
      job.say(rom + " is padded to whole Mbit on a copy: its " + std::to_string(size) +
              " bytes are not a multiple of 128 KiB, and the multi-game image keeps only whole "
              "Mbit of each game.");
    }
  }
  if (!any) return roms;
  return PrepareRoms(host, job, roms, fixes, scratch);
}

int CartridgeMbit(ui::Window& w) { return w.get<ui::OptionButton>("Option1").value() ? 64 : 32; }

// The tool cuts a ROM larger than the cartridge to fit and writes it; a game cut short is no
// game. Checked on the ROM and again on the copy the fixes made of it.
std::optional<std::string> SizeProblem(ui::JobHost& host, const std::string& rom,
                                       const std::string& file) {
  const std::optional<std::uint64_t> size = platform::RegularFileSize(file);
  if (!size) return std::nullopt;
  return RomSizeProblem({rom, *size}, CartridgeMbit(host.form));
}

// Right before a run: the queued files it is given checked again, its copies readable. A file
// that may not go to it fails the job there.
void FailOnRunProblems(ui::JobHost& host, ui::JobRun& job, const std::vector<std::string>& roms,
                       const std::vector<std::string>& files) {
  const std::vector<std::string> problems = RunProblems(host.run.appDir, roms, files);
  if (!problems.empty()) job.fail(problems.front());
}

void FlashSingle(ui::JobHost& host) {
  ui::Window& w = host.form;
  auto& paths = w.get<ui::ListBox>("List2");
  w.get<ui::ListBox>("List1").setListIndex(0);
  paths.setListIndex(0);
  const std::string rom = paths.item(paths.listIndex());
  if (const std::optional<std::string> problem = SizeProblem(host, rom, rom)) {
    ui::SayLine(host.form, *problem);
    return;
  }
  ScratchFolder scratch(platform::JoinPath(host.run.appDir, kScratchFolderName));
  ui::JobRun job(host, std::string(kCartridgeUnchanged));
  const std::optional<std::vector<std::string>> files = Prepared(host, job, {rom}, scratch);
  if (!files && !job.failed()) return;
  if (files) {
    if (const std::optional<std::string> problem = SizeProblem(host, rom, files->front())) {
      job.say(*problem);
      return;
    }
    FailOnRunProblems(host, job, {rom}, *files);
    job.run({exec::SingleFlashCommand(files->front(), Port(w), RomOptionsOf(w)),
             "write " + rom + " to the cartridge", /*writesTarget=*/true});
  }
  job.finish(rom + " written to the cartridge");
}

// Why the games cannot make one image that works, as lines for the output box; empty when
// they can. The sizes are those of the files the build is given, after any padding.
std::vector<std::string> ImageProblems(const std::vector<std::string>& roms,
                                       const std::vector<std::string>& files, int sizeMbit) {
  std::vector<QueuedGame> games;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::optional<std::uint64_t> size = platform::RegularFileSize(files[i]);
    if (!size) return {files[i] + " cannot be read" + std::string(kNothingWritten)};
    games.push_back({roms[i], *size});
  }
  return ImageSizeProblems(games, sizeMbit);
}

void FlashMulti(ui::JobHost& host) {
  ui::Window& w = host.form;
  auto& paths = w.get<ui::ListBox>("List2");
  const bool large = w.get<ui::OptionButton>("Option1").value();
  const std::string size = large ? "64" : "32";

  const std::string saved = platform::CurrentDirectory();
  platform::ChangeDirectory(host.run.appDir);
  const std::string image = platform::JoinPath(host.run.appDir, kImage);
  // An image left from an earlier job must never reach the cartridge in place of this one.
  platform::RemoveFile(image);
  // Whether or not the build made an image, none is left behind, however the job ends.
  const AtExit cleanUp([&] {
    platform::RemoveFile(image);
    platform::ChangeDirectory(saved);
    auto& titles = w.get<ui::ListBox>("List1");
    if (titles.listCount() > 0 && paths.listCount() > 0) {
      titles.setListIndex(0);
      paths.setListIndex(0);
    }
  });

  std::vector<std::string> roms;
  const int n = w.get<ui::ListBox>("List1").listCount();
  for (int i = 0; i < n; ++i) {
    paths.setListIndex(i);
    roms.push_back(paths.item(paths.listIndex()));
  }

  // The build reports success for an image that cannot work; whatever would make one stops
  // the job before anything runs.
  std::optional<std::string> problem = LoaderProblem(platform::JoinPath(host.run.appDir, kLoader));
  if (!problem) problem = GameCountProblem(roms.size(), large ? 64 : 32);
  if (problem) {
    ui::SayLine(host.form, *problem);
    return;
  }
  ScratchFolder scratch(platform::JoinPath(host.run.appDir, kScratchFolderName));
  ui::JobRun job(host, std::string(kCartridgeUnchanged));
  const std::string done = std::to_string(roms.size()) + " games written to the cartridge";
  const std::optional<std::vector<std::string>> files = Prepared(host, job, roms, scratch);
  if (!files) {
    if (job.failed()) job.finish(done);
    return;
  }
  const std::vector<std::string> tooLarge = ImageProblems(roms, *files, large ? 64 : 32);
  if (!tooLarge.empty()) {
    for (const std::string& line : tooLarge) job.say(line);
    return;
  }
  FailOnRunProblems(host, job, roms, *files);
  job.run({exec::MultiBuildCommand(size, *files, host.run.appDir), "build the multi-game image"});
  // Without an image the flash command would read the cartridge into TEMP.BIN instead of
  // writing it; say so rather than run it. Port and options are read after the build.
  if (!job.failed() && !platform::FileExists(image)) job.fail("no multi-game image was built");
  if (!job.failed() && Port(w).empty()) {
    std::string why = exec::NotAPortAddress(TypedPort(w));
    why[0] = 't';  // after "Failed: "
    job.fail(why);
  }
  job.run({exec::MultiFlashCommand(Port(w), RomOptionsOf(w)),
           "write the multi-game image to the cartridge", /*writesTarget=*/true});
  job.finish(done + " as one multi-game image");
}

}  // namespace

void RemoveJobLeftovers(std::string_view appDir) {
  platform::RemoveFile(platform::JoinPath(appDir, kImage));
  platform::RemoveFolderTree(platform::JoinPath(appDir, kScratchFolderName));
}

void Command4_Click(ui::JobHost& host) {
  const int n = host.form.get<ui::ListBox>("List1").listCount();
  if (n == 0) {
    ui::SayLine(host.form, "The flash list is empty: add a ROM to it with \"Add to list\" first.");
    return;
  }
  // The tool reads anything but a port address as port 0, where the system's own devices sit.
  if (Port(host.form).empty()) {
    ui::SayLine(host.form,
                exec::NotAPortAddress(TypedPort(host.form)) + std::string(kNothingWritten));
    return;
  }
  // The flash command given a file that does not exist reads the cartridge into it, and the
  // build skips one it cannot read without a word; a queued file where the job writes would be
  // deleted by it. Any of these stops the job before any run.
  const auto& paths = host.form.get<ui::ListBox>("List2");
  std::vector<std::string> queued;
  for (int i = 0; i < paths.listCount(); ++i) queued.push_back(paths.item(i));
  const std::vector<std::string> problems = RunProblems(host.run.appDir, queued, queued);
  for (const std::string& problem : problems)
    ui::SayLine(host.form, problem + std::string(kNothingWritten));
  if (!problems.empty()) return;
  if (n == 1) {
    FlashSingle(host);
    return;
  }
  FlashMulti(host);
}

}  // namespace flash
