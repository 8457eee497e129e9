// Closing the main window while a job runs, with the test writer in the tool's place: no run
// starts after the close, the verdict says where the job stopped, and the user may stop a tool
// that never ends, which ends it and every helper it started. The window closes in every case.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/form_rig.h"

namespace {

using testing_support::FormRig;
using testing_support::HasEnded;
using testing_support::HelperPid;

// The user closes the window once the first run has printed "run", and answers the question
// that offers to stop the tool with answer.
void CloseDuringTheFirstRun(FormRig& rig, bool answer) {
  rig.backend().setAnswer(answer);
  bool closed = false;
  rig.backend().setUserDuringEvents([&rig, &closed] {
    if (closed || rig.output().find("run") == std::string::npos) return;
    closed = true;
    rig.main().userClose();
  });
  ASSERT_TRUE(rig.main().userClick("Command4"));
  rig.backend().setUserDuringEvents({});
  ASSERT_TRUE(closed);
}

// Answering no: the run in progress finishes, nothing after it starts.
TEST(CloseDuringJob, NoRunStartsAfterTheCloseAndTheVerdictNamesTheFirstThatDidNot) {
  const struct {
    const char* name;
    int games;
    bool fix;
    std::string verdict;  // {a}, {b}: the queued ROMs
  } cases[] = {
      {"single, during its fix", 1, true,
       "Failed: the window was closed before write {a} to the cartridge; it and any step "
       "after it did not run; nothing was written to the cartridge."},
      {"multi-game, during the first fix", 2, true,
       "Failed: the window was closed before fix checksum on {b}; it and any step after it did "
       "not run; nothing was written to the cartridge."},
      {"multi-game, during the build", 2, false,
       "Failed: the window was closed before write the multi-game image to the cartridge; it "
       "and any step after it did not run; nothing was written to the cartridge."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig;
    // Whole Mbit: the multi-game path pads no copy before the steps named here.
    const std::string a = rig.writeRom("a.bin", "ALPHA", 128u << 10);
    const std::string b = rig.writeRom("b.bin", "BRAVO", 128u << 10);
    rig.queue(a);
    if (c.games == 2) rig.queue(b);
    if (!c.fix) rig.main().userClick("Check2");
    // Every run prints "run", takes a moment and succeeds; the build makes the image.
    rig.replaceTool("text|run\\n|sleep|300");
    if (!c.fix && c.games == 2) {
      rig.replaceTool("text|run\\n|sleep|300|file|" + rig.appDir().file("TEMP.BIN") + "|4096");
    }
    CloseDuringTheFirstRun(rig, /*answer=*/false);
    const std::string out = rig.output();
    EXPECT_EQ(testing_support::Occurrences(out, "run\n"), 1u) << out;
    std::string verdict = c.verdict;
    for (const auto& [mark, rom] : {std::pair{"{a}", a}, std::pair{"{b}", b}}) {
      if (const std::size_t at = verdict.find(mark); at != std::string::npos)
        verdict.replace(at, 3, rom);
    }
    EXPECT_NE(out.find(verdict), std::string::npos) << out;
    ASSERT_EQ(rig.backend().messages().size(), 1u);
    EXPECT_TRUE(rig.backend().messages()[0].question);
    EXPECT_FALSE(rig.main().loaded()) << "closed when the job had ended";
  }
}

// Answering yes: the tool is ended at once, with every helper it started, however it hangs.
TEST(CloseDuringJob, StoppingAToolThatNeverEndsEndsItAndItsHelpersAndTheWindowCloses) {
  const struct {
    const char* name;
    const char* tool;
  } cases[] = {
      {"silent", "helper|600000|text|run\\n|sleep|600000"},
      {"endless output", "helper|600000|text|run\\n|flood|600000"},
      {"exited, a helper holding the output", "helper|600000|text|run\\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig rig;
    const std::string a = rig.writeRom("a.bin", "ALPHA");
    rig.queue(a);
    rig.main().userClick("Check2");  // no fix: the flash is the one run
    rig.replaceTool(c.tool);
    CloseDuringTheFirstRun(rig, /*answer=*/true);
    const std::string out = rig.output();
    const long helper = HelperPid(out);
    ASSERT_NE(helper, 0) << out;
    EXPECT_TRUE(HasEnded(helper));
    testing_support::EndHelper(helper);
    EXPECT_NE(out.find("Failed: write " + a + " to the cartridge: stopped by the user."),
              std::string::npos)
        << out.substr(out.size() > 400 ? out.size() - 400 : 0);
    ASSERT_EQ(rig.backend().messages().size(), 1u);
    const auto& asked = rig.backend().messages()[0];
    EXPECT_TRUE(asked.question);
    EXPECT_NE(asked.text.find("leaves the cartridge partly written"), std::string::npos);
    EXPECT_NE(asked.text.find("may leave the slot or the file incomplete"), std::string::npos);
    EXPECT_FALSE(rig.main().loaded());
  }
}

}  // namespace
