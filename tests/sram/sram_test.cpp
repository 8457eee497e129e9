// The SRAM dialog and the transfer it leaves to the main window, with the cartridge simulator.
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "config/environment.h"
#include "exec/process.h"
#include "platform/filesystem.h"
#include "sram/form2.h"
#include "support/form_rig.h"

namespace {

using testing_support::FormRig;
using testing_support::ReadBytes;
using testing_support::SlotFile;
using testing_support::WriteBytes;
namespace fs = std::filesystem;
using Args = std::vector<std::string>;

struct Sram : ::testing::Test {
  Sram() {
    fs::create_directories(rig.data().path() / "saves");
    fs::create_directories(rig.data().path() / "other");
    WriteBytes(rig.data().path() / "saves" / "game.srm", std::string(32768, 'S'));
  }
  // "Get/Receive": the dialog opens on the current directory.
  ui::MemoryWindow& open() {
    EXPECT_TRUE(rig.main().userClick("Command5"));
    ui::MemoryWindow* dialog = rig.backend().find("Form2");
    EXPECT_NE(dialog, nullptr);
    return *dialog;
  }
  ui::TextBox& name(ui::MemoryWindow& dialog) { return dialog.get<ui::TextBox>("Text1"); }
  void ok(ui::MemoryWindow& dialog) {
    dialog.userClick("Command1");
    rig.backend().processPendingEvents();  // the main window's activation runs the request
  }
  void type(ui::MemoryWindow& dialog, const std::string& text) {
    dialog.userClick("Text1");
    dialog.userType("Text1", text);
  }
  bool requestIdle() {
    return rig.main().get<ui::CheckBox>("Check5").value() == 0 &&
           rig.main().get<ui::TextBox>("Text4").text().empty() &&
           rig.main().get<ui::TextBox>("Text5").text().empty();
  }

  FormRig rig;
};

TEST_F(Sram, WhileTheDialogIsOpenTheMainWindowTakesNoInput) {
  ui::MemoryWindow& dialog = open();
  EXPECT_EQ(name(dialog).text(), "(filename...)");
  EXPECT_FALSE(rig.main().enabled());
  EXPECT_FALSE(rig.main().userClick("Command4"));
  EXPECT_FALSE(rig.main().userScroll("VScroll1", 1));
}

TEST_F(Sram, AnUntouchedOrEmptyNameShowsTheMessageAndMakesNoRequest) {
  ui::MemoryWindow& dialog = open();
  ok(dialog);                      // placeholder untouched
  dialog.userClick("Text1");       // the click clears it
  EXPECT_EQ(name(dialog).text(), "");
  ok(dialog);                      // empty
  ASSERT_EQ(rig.backend().messages().size(), 2u);
  for (const auto& m : rig.backend().messages()) {
    EXPECT_EQ(m.text, "Enter a filename, please.");
    EXPECT_EQ(m.title, "Error");
  }
  EXPECT_TRUE(dialog.loaded());
  EXPECT_FALSE(rig.main().enabled());
  EXPECT_TRUE(rig.runs().empty());
  EXPECT_TRUE(requestIdle());
}

TEST_F(Sram, OnlyAMouseClickClearsThePlaceholder) {
  ui::MemoryWindow& dialog = open();
  dialog.userType("Text1", "x");  // focus moved in by the keyboard: placeholder stays
  EXPECT_EQ(name(dialog).text(), "x(filename...)");
  name(dialog).setText("typed");
  dialog.userClick("Text1");
  EXPECT_EQ(name(dialog).text(), "typed");
}

TEST_F(Sram, APickedFileGoesWithTheDirectoryTheListShowsNowAndRunsOnce) {
  ui::MemoryWindow& dialog = open();
  dialog.userOpenDirectory("Dir1", (rig.data().path() / "saves").string());
  dialog.userSelect("File1", 0);
  EXPECT_EQ(name(dialog).text(), "game.srm");
  dialog.userOpenDirectory("Dir1", (rig.data().path() / "other").string());
  ok(dialog);
  EXPECT_FALSE(dialog.loaded());
  EXPECT_TRUE(rig.main().enabled());
  EXPECT_TRUE(rig.main().hasFocus());
  auto runs = rig.runs();
  ASSERT_EQ(runs.size(), 1u);
  const std::string other = (rig.data().path() / "other").string();
  EXPECT_EQ(runs[0].args, (Args{"--xmdb=1", "--port=0x378", platform::JoinPath(other, "game.srm"),
                                "-o=" + other}));
  EXPECT_EQ(runs[0].cwd, rig.appDir().str());
  EXPECT_TRUE(requestIdle());
  // Handing the focus to the main window again, as switching back from another program does,
  // runs nothing more.
  rig.main().setFocus();
  rig.backend().processPendingEvents();
  EXPECT_EQ(rig.runs().size(), 1u);
}

TEST_F(Sram, SlotPortAndANameWithBlanksReachTheToolAsTheyStand) {
  const struct {
    int scroll;   // arrow clicks down from slot 1
    const char* port;
    const char* name;
    const char* slotArg;
  } cases[] = {
      {0, "378", "new save.srm", "--xmdb=1"},
      {3, "278", "x", "--xmdb=4"},
      {5, "378", "does-not-exist.srm", "--xmdb=4"},
  };
  size_t seen = 0;
  for (const auto& c : cases) {
    for (int i = 0; i < c.scroll; ++i) rig.main().userScroll("VScroll1", 1);
    rig.main().get<ui::TextBox>("Text2").setText(c.port);
    ui::MemoryWindow& dialog = open();
    type(dialog, c.name);
    ok(dialog);
    auto runs = rig.runs();
    ASSERT_EQ(runs.size(), seen + 1);
    EXPECT_EQ(runs[seen].args[0], c.slotArg);
    EXPECT_EQ(runs[seen].args[1], std::string("--port=0x") + c.port);
    ASSERT_EQ(runs[seen].args.size(), 4u);
    EXPECT_EQ(runs[seen].args[2], platform::JoinPath(runs[seen].args[3].substr(3), c.name));
    EXPECT_EQ(runs[seen].args.size(), 4u);
    ++seen;
  }
}

TEST_F(Sram, TheCloseButtonRunsNothingAndGivesTheMainWindowBack) {
  ui::MemoryWindow& dialog = open();
  type(dialog, "game.srm");
  EXPECT_TRUE(dialog.userClose());
  rig.backend().processPendingEvents();
  EXPECT_TRUE(rig.main().enabled());
  EXPECT_TRUE(rig.main().hasFocus());
  EXPECT_TRUE(rig.runs().empty());
  // Every opening starts afresh.
  ui::MemoryWindow& again = open();
  EXPECT_EQ(name(again).text(), "(filename...)");
}

TEST_F(Sram, ASlotReceivedIntoAFileAndSentToAnotherSlotLeavesBothEqual) {
  const fs::path saves = rig.data().path() / "saves";
  // Slot 1 gets the save that already exists...
  ui::MemoryWindow& first = open();
  first.userOpenDirectory("Dir1", saves.string());
  first.userSelect("File1", 0);
  ok(first);
  EXPECT_EQ(SlotFile(rig, 1), std::string(32768, 'S'));
  // ...is received into a new file...
  ui::MemoryWindow& second = open();
  second.userOpenDirectory("Dir1", saves.string());
  type(second, "copy of slot 1.srm");
  ok(second);
  ASSERT_TRUE(fs::exists(saves / "copy of slot 1.srm"));
  // ...which is sent to slot 3.
  rig.main().userScroll("VScroll1", 1);
  rig.main().userScroll("VScroll1", 1);
  ui::MemoryWindow& third = open();
  third.userOpenDirectory("Dir1", saves.string());
  type(third, "copy of slot 1.srm");
  ok(third);
  EXPECT_EQ(SlotFile(rig, 3), SlotFile(rig, 1));
  EXPECT_EQ(ReadBytes(saves / "copy of slot 1.srm"), SlotFile(rig, 1));
}

// The file the user chose is the one transferred, in both directions, whatever the tool's
// working directory holds under the same name.
TEST_F(Sram, TheChosenFolderHoldsTheFileInBothDirectionsAndTheAppFolderIsUntouched) {
  const fs::path saves = rig.data().path() / "my saves";
  fs::create_directories(saves);
  WriteBytes(saves / "slot save.srm", std::string(32768, 'N'));
  const std::string stale(32768, 'X');
  for (const char* n : {"slot save.srm", "received.srm"}) {
    WriteBytes(rig.appDir().path() / n, stale);
  }
  // A full path typed into the box names the file wherever the dialog's lists stand.
  const struct {
    const char* name;
    bool exists;
    bool typedInFull;
  } cases[] = {{"slot save.srm", true, false},
               {"received.srm", false, false},
               {"slot save.srm", true, true},
               {"received.srm", false, true}};
  size_t seen = 0;
  for (const auto& c : cases) {
    if (!c.exists) fs::remove(saves / c.name);
    ui::MemoryWindow& dialog = open();
    dialog.userOpenDirectory("Dir1", c.typedInFull ? (rig.data().path() / "other").string()
                                                   : saves.string());
    type(dialog, c.typedInFull ? (saves / c.name).string() : std::string(c.name));
    ok(dialog);
    auto runs = rig.runs();
    ASSERT_EQ(runs.size(), seen + 1) << c.name;
    EXPECT_EQ(runs[seen].args,
              (Args{"--xmdb=1", "--port=0x378", platform::JoinPath(saves.string(), c.name),
                    "-o=" + saves.string()}))
        << c.name;
    ++seen;
    if (c.exists) {
      EXPECT_EQ(SlotFile(rig, 1), std::string(32768, 'N')) << c.name;
    }
    EXPECT_EQ(ReadBytes(saves / c.name), SlotFile(rig, 1)) << c.name;
    EXPECT_EQ(ReadBytes(rig.appDir().path() / c.name), stale) << c.name;
  }
}

// What runs for a save of each size and port text, and the job's last line. A slot holds
// 32 KiB: a larger file would be written across the slots after it.
TEST_F(Sram, ASaveOverOneSlotOrAPortThatIsNoAddressRunsNothingElseTheVerdictEndsTheJob) {
  const fs::path saves = rig.data().path() / "saves";
  const std::string end(exec::kOutputLineEnd);
  const struct {
    const char* name;
    std::size_t size;  // of the file to send; 0: none, the slot is received into it
    const char* port;
    std::string last;  // the output's last line; {file}: the file's path
  } cases[] = {
      {"send.srm", 32768, "378", "Done: {file} written to slot 1"},
      {"small.srm", 8192, "0x378", "Done: {file} written to slot 1"},
      {"received.srm", 0, " 378 ", "Done: slot 1 saved into {file}"},
      {"large.srm", 33 * 1024, "378",
       "{file} has 33792 bytes; a slot holds 32768 (32 KiB); nothing was transferred."},
      {"whole.srm", 128 * 1024, "378",
       "{file} has 131072 bytes; a slot holds 32768 (32 KiB); nothing was transferred."},
      {"send.srm", 32768, "0x0",
       "The port \"0x0\" is not a parallel-port address (such as 378, 278 or 3BC); nothing was "
       "transferred."},
      {"new.srm", 0, "LPT1",
       "The port \"LPT1\" is not a parallel-port address (such as 378, 278 or 3BC); nothing was "
       "transferred."},
  };
  std::size_t seen = 0;
  for (const auto& c : cases) {
    const std::string file = platform::JoinPath(saves.string(), c.name);
    if (c.size > 0) WriteBytes(file, std::string(c.size, 'V'));
    rig.main().get<ui::TextBox>("Text2").setText(c.port);
    rig.main().get<ui::TextBox>("Text3").setText("");
    ui::MemoryWindow& dialog = open();
    dialog.userOpenDirectory("Dir1", saves.string());
    type(dialog, c.name);
    ok(dialog);
    const bool runs = c.last.starts_with("Done");
    seen += runs ? 1 : 0;
    EXPECT_EQ(rig.runs().size(), seen) << c.name << " " << c.port;
    std::string last = c.last;
    if (const std::size_t at = last.find("{file}"); at != std::string::npos)
      last.replace(at, 6, file);
    EXPECT_TRUE(rig.output().ends_with(last + end)) << rig.output();
    EXPECT_EQ(rig.main().get<ui::TextBox>("Text2").text(), c.port) << "the typed port stays";
    EXPECT_TRUE(requestIdle());
  }
}

#ifndef _WIN32
// A pipe would block the tool and a folder is no save: neither is handed to it.
TEST_F(Sram, AnEntryThatIsNotARegularFileIsNeverPassedToTheTool) {
  const fs::path saves = rig.data().path() / "saves";
  fs::create_directories(saves / "folder.srm");
  ASSERT_EQ(::mkfifo((saves / "pipe.srm").c_str(), 0600), 0);
  for (const char* n : {"folder.srm", "pipe.srm"}) {
    ui::MemoryWindow& dialog = open();
    dialog.userOpenDirectory("Dir1", saves.string());
    type(dialog, n);
    ok(dialog);
    EXPECT_TRUE(rig.runs().empty()) << n;
    EXPECT_NE(rig.output().find(platform::JoinPath(saves.string(), n) +
                                " is not a regular file; nothing was transferred."),
              std::string::npos)
        << rig.output();
    EXPECT_TRUE(requestIdle());
  }
}
#endif

// A session at the simulator's real transfer speed: a flash, a save sent to a slot and the
// slot received again. Each transfer leaves one progress line in the output box, the final
// one at 100%; the lines written on the way were rewritten in place.
TEST_F(Sram, AtRealSpeedEachTransferLeavesOneFinalProgressLine) {
  rig.writeRom("game.bin", "GAME", 256u << 10);
  rig.browseData();
  rig.main().userDoubleClick("File1", 0);
  rig.main().userClick("Check2");  // no checksum fix: one transfer per job
  config::SetEnvironmentVariable("TELVO_SIM_KBPS", "150");
  ASSERT_TRUE(rig.main().userClick("Command4"));
  const fs::path saves = rig.data().path() / "saves";
  ui::MemoryWindow& send = open();
  send.userOpenDirectory("Dir1", saves.string());
  send.userSelect("File1", 0);
  ok(send);
  ui::MemoryWindow& receive = open();
  receive.userOpenDirectory("Dir1", saves.string());
  type(receive, "received.srm");
  ok(receive);
  config::SetEnvironmentVariable("TELVO_SIM_KBPS", "0");
  ASSERT_EQ(rig.runs().size(), 3u);

  const std::string output = rig.output();
  std::vector<std::string> progress;
  for (std::size_t at = 0; at < output.size();) {
    const std::size_t end = std::min(output.find('\n', at), output.size());
    const std::string line = output.substr(at, end - at);
    if (line.find("Bytes [") != std::string::npos) progress.push_back(line);
    at = end + 1;
  }
  ASSERT_EQ(progress.size(), 3u) << output;
  const std::vector<std::string> sizes = {"262144", "32768", "32768"};
  for (std::size_t i = 0; i < progress.size(); ++i) {
    const std::string done = std::string(10 - sizes[i].size(), ' ') + sizes[i] +
                             " Bytes [========================] 100%, BPS=";
    EXPECT_EQ(progress[i].rfind(done, 0), 0u) << progress[i];
  }
  for (std::size_t at = output.find('\r'); at != std::string::npos; at = output.find('\r', at + 1))
    EXPECT_EQ(output[at + 1], '\n') << "no carriage return left alone";
}

}  // namespace
