// The verdict's reading of the tool's output, chunk by chunk as the runner passes it on, and
// its words for how a run failed.
#include "ui/job_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(ErrorLineWatch, FindsALineBeginningWithErrorWhereverTheChunksSplitIt) {
  struct Case {
    const char* name;
    std::vector<std::string> chunks;
    bool error;
    bool lineOpen;
  };
  const std::vector<Case> cases = {
      {"first line", {"ERROR: no cartridge\n"}, true, false},
      {"after LF", {"Port 0x378\nERROR: x\n"}, true, false},
      {"after CR", {"  50%\rERROR: x"}, true, true},
      {"after CR LF", {"a\r\nERROR: x\r\n"}, true, false},
      {"split inside the word", {"ok\nERR", "OR: x\n"}, true, false},
      {"split one character at a time", {"E", "R", "R", "O", "R", ":"}, true, true},
      {"split after the line end", {"ok\n", "ERROR:"}, true, true},
      {"within a line", {"Note: ERROR: quoted\n"}, false, false},
      {"a blank before it", {" ERROR: x\n"}, false, false},
      {"lower case", {"error: x\n"}, false, false},
      {"prefix cut short", {"ERROR x\nERRO\n"}, false, false},
      {"a progress line ended by CR", {"  100%\r"}, false, true},
      {"nothing", {}, false, false},
  };
  for (const Case& c : cases) {
    ui::ErrorLineWatch watch;
    for (const std::string& chunk : c.chunks) watch.write(chunk);
    EXPECT_EQ(watch.sawErrorLine(), c.error) << c.name;
    EXPECT_EQ(watch.lineOpen(), c.lineOpen) << c.name;
  }
}

TEST(DescribeFailure, SaysHowTheRunEnded) {
  using Ending = exec::RunResult::Ending;
  struct Case {
    exec::RunResult result;
    bool errorLine;
    const char* words;
  };
  const std::vector<Case> cases = {
      {{Ending::Exited, 1}, false, "exit code 1"},
      {{Ending::Exited, 0}, true, "the tool reported an error (exit code 0)"},
      {{Ending::Exited, static_cast<int>(0xC0000096u)}, false, "exit code 0xC0000096"},
      {{Ending::NotStarted, 0}, false, "the tool could not be started"},
      {{Ending::Signalled, 11}, false, "the tool was ended by signal 11"},
      {{Ending::Stopped, 0}, false, "stopped by the user"},
  };
  for (const Case& c : cases) EXPECT_EQ(ui::DescribeFailure(c.result, c.errorLine), c.words);
}

}  // namespace
