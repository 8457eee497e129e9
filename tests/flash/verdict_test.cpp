// The flash job's last line, through the main window: "Done: ..." only when every run exited 0
// and printed no "ERROR:" line; otherwise "Failed: ..." naming the step, and no later step
// runs. The simulator plays success; the test writer, in the tool's place, plays the ways the
// tool fails.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "config/environment.h"
#include "exec/process.h"
#include "support/form_rig.h"

namespace {

using testing_support::FormRig;
namespace fs = std::filesystem;

std::string Line(const std::string& text) { return text + std::string(exec::kOutputLineEnd); }

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

// PATH without the build's folders, so that a missing tool is found nowhere.
class NoToolOnPath {
 public:
  NoToolOnPath() : saved_(std::getenv("PATH") ? std::getenv("PATH") : "") {
    config::SetEnvironmentVariable("PATH", "");
  }
  ~NoToolOnPath() { config::SetEnvironmentVariable("PATH", saved_); }

 private:
  std::string saved_;
};

TEST(Verdict, TheFlashJobEndsWithWhatWasDoneOrWhichStepFailed) {
  struct Case {
    const char* name;
    int games;           // queued ROMs
    bool fix;            // "Fix checksum" ticked
    const char* tool;    // stand-in script; nullptr: the simulator; "": no tool at all
    int runs;            // how many runs started (the stand-in prints "run" at each start)
    std::string last;    // the verdict, with {rom} for the first queued ROM
  };
  const std::string unchanged = "; nothing was written to the cartridge.";
  const std::vector<Case> cases = {
      {"success", 1, true, nullptr, -1, "Done: {rom} written to the cartridge"},
      {"multi-game success", 2, false, nullptr, -1,
       "Done: 2 games written to the cartridge as one multi-game image"},
#ifndef _WIN32
      // Windows finds the tool beside the test program first, before the rig's application
      // directory, so a stand-in there is never started: these rows run on Linux only.
      {"no cartridge: exit 1", 1, false, "text|run\\n|err|ERROR: no cartridge\\n|exit|1", 1,
       "Failed: write {rom} to the cartridge: the tool reported an error (exit code 1)."},
      {"exit 1 and nothing said", 1, false, "text|run\\n|exit|1", 1,
       "Failed: write {rom} to the cartridge: exit code 1."},
      // The tool's error output overtakes its buffered standard output, which ends without a
      // line end: the verdict still stands on a line of its own.
      {"refused ROM: exit 0 with an ERROR line", 1, false,
       "text|run\\n|err|ERROR: This ROM has a header\\n|text|Send: 1179648 Bytes (9.0000 Mb)|"
       "exit|0",
       1, "Failed: write {rom} to the cartridge: the tool reported an error (exit code 0)."},
      {"failing fix: nothing flashed", 1, true, "text|run\\n|err|ERROR: bad ROM\\n|exit|1", 1,
       "Failed: fix checksum on {rom}: the tool reported an error (exit code 1)" + unchanged},
      {"failing build: nothing flashed", 2, false, "text|run\\n|err|ERROR: bad ROM\\n|exit|1", 1,
       "Failed: build the multi-game image: the tool reported an error (exit code 1)" +
           unchanged},
      {"a build that makes no image", 2, false, "text|run\\n", 1,
       "Failed: no multi-game image was built" + unchanged},
      {"the tool cannot start", 1, false, "", 0,
       "Failed: write {rom} to the cartridge: the tool could not be started" + unchanged},
      {"ended by a signal", 1, false, "text|run\\n|signal|9", 1,
       "Failed: write {rom} to the cartridge: the tool was ended by signal 9."},
#endif
  };
  for (const Case& c : cases) {
    FormRig rig;
    NoToolOnPath noTool;
    std::string first;
    for (int i = 0; i < c.games; ++i) {
      const std::string rom = rig.writeRom("game" + std::to_string(i) + ".bin", "GAME", 128u << 10);
      if (i == 0) first = rom;
      rig.queue(rom);
    }
    rig.main().get<ui::CheckBox>("Check2").setValue(c.fix ? 1 : 0);
    if (c.tool != nullptr) rig.replaceTool(c.tool);
    ASSERT_TRUE(rig.main().userClick("Command4")) << c.name;
    std::string last = c.last;
    if (const std::size_t at = last.find("{rom}"); at != std::string::npos)
      last.replace(at, 5, first);
    const std::string out = rig.output();
    EXPECT_TRUE(out.ends_with(std::string(exec::kOutputLineEnd) + Line(last)))
        << c.name << ":\n" << out;
    if (c.runs >= 0) {
      EXPECT_EQ(Count(out, "run\n"), static_cast<std::size_t>(c.runs)) << c.name;
    }
    if (c.tool != nullptr) {
      EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-sim-flash.bin")) << c.name;
    }
  }
}

}  // namespace
