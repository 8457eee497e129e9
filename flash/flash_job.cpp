#include "flash/flash_job.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "exec/process.h"
#include "exec/tool_commands.h"
#include "flash/multi_check.h"
#include "flash/queued_files.h"
#include "flash/rom_prep.h"
#include "platform/filesystem.h"
#include "platform/paths.h"

namespace flash {

namespace {

constexpr std::string_view kLoader = "multigam.bin";

exec::RomOptions RomOptionsOf(ui::Window& w) {
  return {w.get<ui::CheckBox>("Check1").value(), w.get<ui::CheckBox>("Check2").value(),
          w.get<ui::CheckBox>("Check3").value(), w.get<ui::CheckBox>("Check4").value()};
}

std::string Port(ui::Window& w) { return w.get<ui::TextBox>("Text2").text(); }

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

// The files to hand on to the flash or the build: the ROMs themselves when no fix is ticked,
// otherwise their fixed copies in scratch; nullopt when the copies could not be made.
std::optional<std::vector<std::string>> Prepared(ui::JobHost& host,
                                                 const std::vector<std::string>& roms,
                                                 ScratchFolder& scratch) {
  const std::vector<std::string_view> fixes = FixesToRun(RomOptionsOf(host.form()));
  if (fixes.empty()) return roms;
  return PrepareRoms(host, roms, fixes, scratch);
}

int CartridgeMbit(ui::Window& w) { return w.get<ui::OptionButton>("Option1").value() ? 64 : 32; }

// The tool cuts a ROM larger than the cartridge to fit and writes it; a game cut short is no
// game. Checked on the ROM and again on the copy the fixes made of it.
bool FitsTheCartridge(ui::JobHost& host, const std::string& rom, const std::string& file) {
  const std::optional<std::uint64_t> size = platform::RegularFileSize(file);
  if (!size) return true;
  const std::optional<std::string> problem =
      RomSizeProblem({rom, *size}, CartridgeMbit(host.form()));
  if (problem) SayLine(host, *problem);
  return !problem;
}

void FlashSingle(ui::JobHost& host) {
  ui::Window& w = host.form();
  auto& paths = w.get<ui::ListBox>("List2");
  w.get<ui::ListBox>("List1").setListIndex(0);
  paths.setListIndex(0);
  const std::string rom = paths.item(paths.listIndex());
  if (!FitsTheCartridge(host, rom, rom)) return;
  ScratchFolder scratch(platform::JoinPath(host.appDir(), kScratchFolderName));
  const std::optional<std::vector<std::string>> files = Prepared(host, {rom}, scratch);
  if (!files || !FitsTheCartridge(host, rom, files->front())) return;
  if (!MayRunWith(host, {rom}, *files)) return;
  const exec::CommandLine command =
      exec::SingleFlashCommand(files->front(), Port(w), RomOptionsOf(w));
  host.ExecAndCapture(command, w.get<ui::TextBox>("Text3"), nullptr);
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
  ui::Window& w = host.form();
  auto& paths = w.get<ui::ListBox>("List2");
  auto& output = w.get<ui::TextBox>("Text3");
  const bool large = w.get<ui::OptionButton>("Option1").value();
  const std::string size = large ? "64" : "32";

  const std::string saved = platform::CurrentDirectory();
  platform::ChangeDirectory(host.appDir());
  const std::string image = platform::JoinPath(host.appDir(), kImage);
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
  std::optional<std::string> problem = LoaderProblem(platform::JoinPath(host.appDir(), kLoader));
  if (!problem) problem = GameCountProblem(roms.size());
  if (problem) {
    SayLine(host, *problem);
    return;
  }
  ScratchFolder scratch(platform::JoinPath(host.appDir(), kScratchFolderName));
  const std::optional<std::vector<std::string>> files = Prepared(host, roms, scratch);
  if (!files) return;
  const std::vector<std::string> tooLarge = ImageProblems(roms, *files, large ? 64 : 32);
  if (!tooLarge.empty()) {
    for (const std::string& line : tooLarge) SayLine(host, line);
    return;
  }
  if (!MayRunWith(host, roms, *files)) return;
  host.ExecAndCapture(exec::MultiBuildCommand(size, *files, host.appDir()), output, nullptr);

  // Without an image the flash command would read the cartridge into TEMP.BIN instead of
  // writing it; say so rather than run it. Port and options are read after the build.
  if (platform::FileExists(image)) {
    host.ExecAndCapture(exec::MultiFlashCommand(Port(w), RomOptionsOf(w)), output, nullptr);
  } else {
    SayLine(host, "No multi-game image was built" + std::string(kNothingWritten));
  }
}

}  // namespace

void RemoveJobLeftovers(std::string_view appDir) {
  platform::RemoveFile(platform::JoinPath(appDir, kImage));
  platform::RemoveFolderTree(platform::JoinPath(appDir, kScratchFolderName));
}

void Command4_Click(ui::JobHost& host) {
  const int n = host.form().get<ui::ListBox>("List1").listCount();
  if (n == 0) return;
  // The flash command given a file that does not exist reads the cartridge into it, and the
  // build skips one it cannot read without a word; a queued file where the job writes would be
  // deleted by it. Any of these stops the job before any run.
  const auto& paths = host.form().get<ui::ListBox>("List2");
  std::vector<std::string> queued;
  for (int i = 0; i < paths.listCount(); ++i) queued.push_back(paths.item(i));
  if (!MayRunWith(host, queued, queued)) return;
  if (n == 1) {
    FlashSingle(host);
    return;
  }
  FlashMulti(host);
}

}  // namespace flash
