// The SRAM dialog and the transfer it leaves to the main window, with the cartridge simulator.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <regex>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "config/environment.h"
#include "exec/process.h"
#include "platform/path_text.h"
#include "sram/form2.h"
#include "sram/snapshot.h"
#include "support/form_rig.h"

namespace {

using testing_support::FormRig;
using testing_support::ReadBytes;
using testing_support::SetSlot;
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
  void transfer(const fs::path& folder, const std::string& fileName) {
    rig.transferSram(folder, fileName);
  }
  std::vector<std::string> lines() {
    std::vector<std::string> out;
    const std::string text = rig.output();
    for (std::size_t at = 0; at < text.size();) {
      const std::size_t end = std::min(text.find('\n', at), text.size());
      out.push_back(text.substr(at, end - at));
      if (!out.back().empty() && out.back().back() == '\r') out.back().pop_back();
      at = end + 1;
    }
    return out;
  }
  std::string lastLine() {
    const std::vector<std::string> all = lines();
    return all.empty() ? std::string() : all.back();
  }
  // The kept copies of the slots, by name.
  std::vector<std::string> snapshots() {
    std::vector<std::string> names;
    if (!fs::is_directory(rig.appDir().path() / "saves")) return names;
    for (const auto& entry : fs::directory_iterator(rig.appDir().path() / "saves"))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  void setSlot(int slot, const std::string& bytes) { SetSlot(rig, slot, bytes); }
  void toSlot2() { rig.main().userScroll("VScroll1", 1); }

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
    std::size_t runs;  // a send keeps the slot's save first and reads the slot back after
    std::size_t run;   // the one given the chosen file
  } cases[] = {{"slot save.srm", true, false, 3, 1},
               {"received.srm", false, false, 1, 0},
               {"slot save.srm", true, true, 3, 1},
               {"received.srm", false, true, 1, 0}};
  size_t seen = 0;
  for (const auto& c : cases) {
    if (!c.exists) fs::remove(saves / c.name);
    ui::MemoryWindow& dialog = open();
    dialog.userOpenDirectory("Dir1", c.typedInFull ? (rig.data().path() / "other").string()
                                                   : saves.string());
    type(dialog, c.typedInFull ? (saves / c.name).string() : std::string(c.name));
    ok(dialog);
    auto runs = rig.runs();
    ASSERT_EQ(runs.size(), seen + c.runs) << c.name;
    EXPECT_EQ(runs[seen + c.run].args,
              (Args{"--xmdb=1", "--port=0x378", platform::JoinPath(saves.string(), c.name),
                    "-o=" + saves.string()}))
        << c.name;
    seen += c.runs;
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
    std::size_t runs;  // a send keeps the slot's save first and reads the slot back after
  } cases[] = {
      {"send.srm", 32768, "378", "Done: {file} written to slot 1 and verified", 3},
      {"small.srm", 8192, "0x378", "Done: {file} written to slot 1 and verified", 3},
      {"received.srm", 0, " 378 ", "Done: slot 1 saved into {file}", 1},
      {"large.srm", 33 * 1024, "378",
       "{file} has 33792 bytes; a slot holds 32768 (32 KiB); nothing was transferred.", 0},
      {"whole.srm", 128 * 1024, "378",
       "{file} has 131072 bytes; a slot holds 32768 (32 KiB); nothing was transferred.", 0},
      {"send.srm", 32768, "0x0",
       "The port \"0x0\" is not a parallel-port address (such as 378, 278 or 3BC); nothing was "
       "transferred.", 0},
      {"new.srm", 0, "LPT1",
       "The port \"LPT1\" is not a parallel-port address (such as 378, 278 or 3BC); nothing was "
       "transferred.", 0},
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
    seen += c.runs;
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
  // The send is three transfers: the slot kept, the file sent, the slot read back.
  ASSERT_EQ(rig.runs().size(), 5u);

  const std::string output = rig.output();
  std::vector<std::string> progress;
  for (std::size_t at = 0; at < output.size();) {
    const std::size_t end = std::min(output.find('\n', at), output.size());
    const std::string line = output.substr(at, end - at);
    if (line.find("Bytes [") != std::string::npos) progress.push_back(line);
    at = end + 1;
  }
  ASSERT_EQ(progress.size(), 5u) << output;
  const std::vector<std::string> sizes = {"262144", "32768", "32768", "32768", "32768"};
  for (std::size_t i = 0; i < progress.size(); ++i) {
    const std::string done = std::string(10 - sizes[i].size(), ' ') + sizes[i] +
                             " Bytes [========================] 100%, BPS=";
    EXPECT_EQ(progress[i].rfind(done, 0), 0u) << progress[i];
  }
  for (std::size_t at = output.find('\r'); at != std::string::npos; at = output.find('\r', at + 1))
    EXPECT_EQ(output[at + 1], '\n') << "no carriage return left alone";
}

// Sending a save: the slot's present save is received into a new file of the application
// directory's "saves" folder first, then the file is sent, then the slot is read back into a
// temporary file and compared with it.
TEST_F(Sram, ASendKeepsTheSlotsSaveFirstThenSendsAndReadsTheSlotBack) {
  const fs::path saves = rig.data().path() / "saves";
  const std::string app = rig.appDir().str();
  const std::string kept = platform::JoinPath(app, "saves");
  const std::string earlier = std::string(16384, 'E') + std::string(16384, 'e');
  setSlot(2, earlier);
  toSlot2();
  transfer(saves, "game.srm");

  const std::string chosen = platform::JoinPath(saves.string(), "game.srm");
  const auto runs = rig.runs();
  ASSERT_EQ(runs.size(), 3u) << rig.output();
  ASSERT_EQ(runs[0].args.size(), 4u);
  const std::string snapshot = runs[0].args[2];
  EXPECT_EQ(runs[0].args, (Args{"--xmdb=2", "--port=0x378", snapshot, "-o=" + kept}));
  EXPECT_TRUE(std::regex_match(std::string(platform::FileNameOf(snapshot)),
                               std::regex(R"(slot2-\d{8}-\d{6}\.srm)")))
      << snapshot;
  EXPECT_EQ(snapshot, platform::JoinPath(kept, platform::FileNameOf(snapshot)));
  EXPECT_EQ(runs[1].args, (Args{"--xmdb=2", "--port=0x378", chosen, "-o=" + saves.string()}));
  EXPECT_EQ(runs[2].args, (Args{"--xmdb=2", "--port=0x378",
                                platform::JoinPath(app, "telvo-readback.srm"), "-o=" + app}));

  EXPECT_EQ(ReadBytes(snapshot), earlier);
  EXPECT_EQ(SlotFile(rig, 2), std::string(32768, 'S'));
  EXPECT_EQ(ReadBytes(saves / "game.srm"), std::string(32768, 'S'));
  EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-readback.srm"));
  const std::string output = rig.output();
  EXPECT_NE(output.find(chosen + " exists: it will be written to slot 2 (the slot's present save "
                                 "is kept first)"),
            std::string::npos)
      << output;
  EXPECT_EQ(lastLine(), "Done: " + chosen + " written to slot 2 and verified") << output;
}

TEST_F(Sram, AReceiveKeepsNothingAndSaysWhichWayItGoes) {
  const fs::path saves = rig.data().path() / "saves";
  setSlot(1, std::string(32768, 'R'));
  transfer(saves, "new.srm");
  const std::string chosen = platform::JoinPath(saves.string(), "new.srm");
  EXPECT_EQ(rig.runs().size(), 1u);
  EXPECT_FALSE(fs::exists(rig.appDir().path() / "saves"));
  EXPECT_EQ(ReadBytes(saves / "new.srm"), std::string(32768, 'R'));
  const std::vector<std::string> all = lines();
  ASSERT_GE(all.size(), 2u);
  EXPECT_NE(std::find(all.begin(), all.end(),
                      chosen + " does not exist: slot 1 will be saved into it"),
            all.end())
      << rig.output();
  EXPECT_EQ(all.back(), "Done: slot 1 saved into " + chosen);
}

// Two sends in one second get two names, and no name that something already has is used:
// names for this second and the next few are taken before the sends.
TEST_F(Sram, EverySendKeepsItsOwnCopyAndNoneIsOverwritten) {
  const fs::path saves = rig.data().path() / "saves";
  const fs::path kept = rig.appDir().path() / "saves";
  fs::create_directories(kept);
  const std::time_t now = std::time(nullptr);
  std::vector<std::string> taken;
  for (int ahead = 0; ahead < 5; ++ahead) {
    const std::time_t at = now + ahead;
    const std::tm local = *std::localtime(&at);
    const platform::LocalTime time{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                   local.tm_hour,        local.tm_min,     local.tm_sec};
    taken.push_back(sram::NumberedName(sram::SnapshotStem("1", time), 1));
    WriteBytes(kept / taken.back(), "taken");
  }
  setSlot(1, std::string(32768, '1'));
  WriteBytes(saves / "second.srm", std::string(32768, '2'));
  transfer(saves, "game.srm");
  transfer(saves, "second.srm");

  std::vector<std::string> made;
  for (const std::string& name : snapshots())
    if (std::find(taken.begin(), taken.end(), name) == taken.end()) made.push_back(name);
  ASSERT_EQ(made.size(), 2u) << rig.output();
  for (const std::string& name : made) EXPECT_NE(name.find(".srm"), std::string::npos);
  for (const std::string& name : taken) EXPECT_EQ(ReadBytes(kept / name), "taken") << name;
  // Each copy holds what the slot held before its own send.
  std::vector<std::string> contents = {ReadBytes(kept / made[0]), ReadBytes(kept / made[1])};
  std::sort(contents.begin(), contents.end());
  EXPECT_EQ(contents, (std::vector<std::string>{std::string(32768, '1'), std::string(32768, 'S')}));
  EXPECT_EQ(SlotFile(rig, 1), std::string(32768, '2'));
}

// When the slot's save cannot be kept, the file is not sent.
TEST_F(Sram, ASaveThatCannotBeKeptStopsTheSend) {
  const fs::path saves = rig.data().path() / "saves";
  const fs::path kept = rig.appDir().path() / "saves";
  const std::string earlier(32768, 'E');
  const struct {
    const char* name;
    const char* variable;  // the simulator's failure switch; null: a file named "saves"
    std::size_t runs;
  } cases[] = {
      {"no cartridge", "TELVO_SIM_NO_CARTRIDGE", 1},
      {"no root", "TELVO_SIM_NO_ROOT", 1},
      {"a file in the way of the folder", nullptr, 0},
  };
  std::size_t seen = 0;
  for (const auto& c : cases) {
    setSlot(1, earlier);
    fs::remove_all(kept);
    if (c.variable != nullptr) config::SetEnvironmentVariable(c.variable, "1");
    else WriteBytes(kept, "in the way");
    transfer(saves, "game.srm");
    if (c.variable != nullptr) config::SetEnvironmentVariable(c.variable, "");
    const auto runs = rig.runs();
    EXPECT_EQ(runs.size(), seen + c.runs) << c.name;
    seen = runs.size();
    EXPECT_EQ(SlotFile(rig, 1), earlier) << c.name;
    EXPECT_EQ(lastLine().rfind("Failed: ", 0), 0u) << c.name << "\n" << rig.output();
    EXPECT_NE(lastLine().find("; slot 1 was not changed."), std::string::npos) << lastLine();
  }
  fs::remove(kept);
}

// The read-back finds the slot holding other bytes than the file: the verdict says how many
// and where the slot's earlier save is.
TEST_F(Sram, ASlotThatDoesNotHoldTheFileFailsAndNamesTheKeptSave) {
  const fs::path saves = rig.data().path() / "saves";
  setSlot(1, std::string(32768, 'E'));
  config::SetEnvironmentVariable("TELVO_SIM_CORRUPT_WRITE", "1");
  transfer(saves, "game.srm");
  config::SetEnvironmentVariable("TELVO_SIM_CORRUPT_WRITE", "");
  const auto runs = rig.runs();
  ASSERT_EQ(runs.size(), 3u);
  const std::string snapshot = runs[0].args[2];
  EXPECT_EQ(ReadBytes(snapshot), std::string(32768, 'E'));
  EXPECT_EQ(lastLine(), "Failed: slot 1 does not hold " +
                            platform::JoinPath(saves.string(), "game.srm") +
                            " (8 bytes differ); its earlier contents are in " + snapshot + ".");
  EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-readback.srm"));
}

// A read-back file left by a program that was ended is never sent to the slot, nor removed:
// the read-back takes a name that nothing has.
TEST_F(Sram, AFileLeftUnderTheReadBackNameIsLeftAlone) {
  const fs::path saves = rig.data().path() / "saves";
  WriteBytes(rig.appDir().path() / "telvo-readback.srm", std::string(32768, 'L'));
  transfer(saves, "game.srm");
  const auto runs = rig.runs();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[2].args[2], platform::JoinPath(rig.appDir().str(), "telvo-readback-2.srm"));
  EXPECT_EQ(SlotFile(rig, 1), std::string(32768, 'S'));
  EXPECT_EQ(ReadBytes(rig.appDir().path() / "telvo-readback.srm"), std::string(32768, 'L'));
  EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-readback-2.srm"));
  EXPECT_NE(lastLine().find("verified"), std::string::npos) << rig.output();
}

// A failure the program recognises gets one line saying what to do, before the verdict; any
// other gets none.
TEST_F(Sram, EachRecognisedFailureNamesItsRemedyAndAnUnknownOneNone) {
  const fs::path saves = rig.data().path() / "saves";
  const std::string rights = "run it with the rights the README names";
  const std::string driver = "the port driver is missing or not started";
  const std::string cartridge = "check the cable, the cartridge's power and the port address";
#ifdef _WIN32
  const std::string privileged = driver;
#else
  const std::string privileged;  // Linux ends such a run with SIGSEGV, which says nothing
#endif
  const struct {
    const char* variable;
    std::string remedy;  // empty: no remedy line
  } cases[] = {
      {"TELVO_SIM_NO_ROOT", rights},
      {"TELVO_SIM_PRIVILEGED_INSTRUCTION", privileged},
      {"TELVO_SIM_NO_CARTRIDGE", cartridge},
      {"TELVO_SIM_FAIL_CONFIG_UPDATE", ""},
  };
  for (const auto& c : cases) {
    // An old configuration, which only the update switch makes the run fail on.
    WriteBytes(rig.appDir().path() / ".ucon64rc", "version = 207\n");
    rig.main().get<ui::TextBox>("Text3").setText("");
    config::SetEnvironmentVariable(c.variable, "1");
    transfer(saves, "received.srm");
    config::SetEnvironmentVariable(c.variable, "");
    const std::vector<std::string> all = lines();
    ASSERT_GE(all.size(), 2u) << c.variable;
    EXPECT_EQ(all.back().rfind("Failed: ", 0), 0u) << c.variable << "\n" << rig.output();
    const std::string& before = all[all.size() - 2];
    for (const std::string& remedy : {rights, driver, cartridge}) {
      const bool named = before.find(remedy) != std::string::npos;
      EXPECT_EQ(named, remedy == c.remedy) << c.variable << ": " << before;
    }
    EXPECT_FALSE(fs::exists(saves / "received.srm")) << c.variable;
  }
}

}  // namespace
