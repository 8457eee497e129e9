#include "flash/flash_job.h"

#include <string>
#include <vector>

#include "app/paths.h"
#include "exec/process.h"
#include "exec/tool_commands.h"
#include "ui/filesystem.h"

namespace flash {

namespace {

// The tool writes the multi-game image under this name into the application directory, and
// the flash command names it without a path. Windows would accept it in any letter case; on
// Linux only this spelling names the same file, so every step here uses it.
constexpr std::string_view kImage = "TEMP.BIN";

constexpr std::string_view kNoImageLine =
    "No multi-game image was built; nothing was written to the cartridge.";

exec::RomOptions RomOptionsOf(ui::Window& w) {
  return {w.get<ui::CheckBox>("Check1").value(), w.get<ui::CheckBox>("Check2").value(),
          w.get<ui::CheckBox>("Check3").value(), w.get<ui::CheckBox>("Check4").value()};
}

std::string Port(ui::Window& w) { return w.get<ui::TextBox>("Text2").text(); }

void FlashSingle(exec::JobHost& host) {
  ui::Window& w = host.form();
  auto& paths = w.get<ui::ListBox>("List2");
  w.get<ui::ListBox>("List1").setListIndex(0);
  paths.setListIndex(0);
  const exec::CommandLine command =
      exec::SingleFlashCommand(paths.item(paths.listIndex()), Port(w), RomOptionsOf(w));
  host.ExecAndCapture(command, w.get<ui::TextBox>("Text3"), nullptr);
}

void FlashMulti(exec::JobHost& host) {
  ui::Window& w = host.form();
  auto& paths = w.get<ui::ListBox>("List2");
  auto& output = w.get<ui::TextBox>("Text3");
  const std::string size = w.get<ui::OptionButton>("Option1").value() ? "64" : "32";

  const std::string saved = app::CurrentDirectory();
  app::ChangeDirectory(host.appDir());
  const std::string image = ui::JoinPath(host.appDir(), kImage);
  // An image left from an earlier job must never reach the cartridge in place of this one.
  app::RemoveFile(image);

  std::vector<std::string> roms;
  const int n = w.get<ui::ListBox>("List1").listCount();
  for (int i = 0; i < n; ++i) {
    paths.setListIndex(i);
    roms.push_back(paths.item(paths.listIndex()));
  }
  host.ExecAndCapture(exec::MultiBuildCommand(size, roms, host.appDir()), output, nullptr);

  // Without an image the flash command would read the cartridge into TEMP.BIN instead of
  // writing it; say so rather than run it. Port and options are read after the build.
  if (app::FileExists(image)) {
    host.ExecAndCapture(exec::MultiFlashCommand(Port(w), RomOptionsOf(w)), output, nullptr);
  } else {
    output.replaceSelection(std::string(kNoImageLine) + std::string(exec::kOutputLineEnd));
  }

  // Whether or not the build made an image, none is left behind.
  app::RemoveFile(image);
  app::ChangeDirectory(saved);

  auto& titles = w.get<ui::ListBox>("List1");
  if (titles.listCount() > 0 && paths.listCount() > 0) {
    titles.setListIndex(0);
    paths.setListIndex(0);
  }
}

}  // namespace

void Command4_Click(exec::JobHost& host) {
  const int n = host.form().get<ui::ListBox>("List1").listCount();
  if (n == 0) return;
  // The flash command given a file that does not exist reads the cartridge into it, and the
  // build skips it without a word: a queued file that is gone or is no regular file stops the
  // job before any run.
  const auto& paths = host.form().get<ui::ListBox>("List2");
  bool missing = false;
  for (int i = 0; i < paths.listCount(); ++i) {
    const std::string path = paths.item(i);
    if (app::KindOfEntry(path) == app::EntryKind::RegularFile) continue;
    host.form().get<ui::TextBox>("Text3").replaceSelection(
        path + " is missing or not a regular file; nothing was written to the cartridge." +
        std::string(exec::kOutputLineEnd));
    missing = true;
  }
  if (missing) return;
  if (n == 1) {
    FlashSingle(host);
    return;
  }
  FlashMulti(host);
}

}  // namespace flash
