// The program against each real release of the tool, with only the cartridge emulated, driven
// through the window's handlers as a user drives it: what lands on the cartridge (the ROM as
// given or with its fixes, a multi-game image as the tool lays it out, a slot's 32 KiB), the
// user's files byte for byte, nothing left behind, and the verdict line.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "config/environment.h"
#include "real_tools.h"
#include "platform/job_lock.h"
#include "support/form_rig.h"
#include "support/run_separately.h"
#include "tools/sim_cartridge.h"
#include "tools/sim_rom_fix.h"

namespace {

namespace fs = std::filesystem;
using testing_support::CartridgeFile;
using testing_support::FormRig;
using testing_support::GenesisRom;
using testing_support::ReadBytes;
using testing_support::RealTool;
using testing_support::SlotFile;
using testing_support::WriteBytes;

constexpr std::size_t KiB = 1024;
constexpr std::size_t kMbit = 128 * KiB;

// Every regular file under folder with its bytes (but the simulator's run log).
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().filename() != "tool.log")
      files[fs::relative(entry.path(), folder).string()] = ReadBytes(entry.path());
  }
  return files;
}

// The last line of the output box.
std::string Verdict(const std::string& output) {
  std::string text = output;
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text.substr(text.find_last_of("\r\n") + 1);
}

std::string WriteRom(const FormRig& rig, const std::string& name, const std::string& bytes) {
  WriteBytes(rig.data().path() / name, bytes);
  return rig.data().file(name);
}

// The fix boxes as a user ticks them ("Enforce" stays ticked, as by default).
void Tick(FormRig& rig, bool unlicensed, bool checksum, bool pad) {
  rig.main().get<ui::CheckBox>("Check1").setValue(unlicensed ? 1 : 0);
  rig.main().get<ui::CheckBox>("Check2").setValue(checksum ? 1 : 0);
  rig.main().get<ui::CheckBox>("Check4").setValue(pad ? 1 : 0);
}

// What the application folder may hold after a job: the tool, the loader, the settings, the
// tool's configuration, the job lock, the cartridge, and what the test put there.
void ExpectNothingLeftBehind(const FormRig& rig, const std::set<std::string>& own = {}) {
  std::set<std::string> kept = {"ucon64",        "multigam.bin",        "TELVO.INI",
                                ".ucon64rc",     ".ucon64rc.old",       "telvo-sim-flash.bin",
                                "telvo-sim-sram.bin", std::string(platform::kJobLockFileName)};
  kept.insert(own.begin(), own.end());
  for (const auto& entry : fs::directory_iterator(rig.appDir().path()))
    EXPECT_EQ(kept.count(entry.path().filename().string()), 1u) << entry.path();
}

// The emulated cartridge's flash; empty when no cartridge ever answered.
std::string Flash(const FormRig& rig) {
  return fs::exists(rig.appDir().path() / "telvo-sim-flash.bin") ? CartridgeFile(rig) : "";
}

class RealToolJob : public ::testing::TestWithParam<RealTool> {
 protected:
  RealToolJob() : rig(GetParam().program) { Tick(rig, false, false, false); }
  ~RealToolJob() override { config::SetEnvironmentVariable("TELVO_SIM_NO_CARTRIDGE", ""); }

  std::string writeRom(const std::string& name, const std::string& bytes) {
    return WriteRom(rig, name, bytes);
  }
  void flash() { ASSERT_TRUE(rig.main().userClick("Command4")); }
  // The same fixes made by the tool itself on a copy, as the program must have asked for them:
  // in the order 1991, pad, checksum, each with --gen.
  std::string madeByTheTool(const std::string& rom, const std::vector<const char*>& actions) {
    const fs::path work = rig.data().path() / "oracle";
    fs::create_directories(work / "out");
    WriteBytes(work / "rom.bin", rom);
    for (const char* action : actions) {
      const auto run = testing_support::RunSeparately(
          GetParam().program, {"--gen", action, "rom.bin", "-o=" + (work / "out").string()},
          work, work);
      EXPECT_EQ(run.status, 0) << action << run.err;
      fs::rename(work / "out" / "rom.bin", work / "rom.bin");
    }
    const std::string fixed = ReadBytes(work / "rom.bin");
    fs::remove_all(work);
    return fixed;
  }

  FormRig rig;
};

TEST_P(RealToolJob, OneRomWithoutFixesIsWrittenAsItIs) {
  const std::string rom = writeRom("my game.bin", GenesisRom(1000 * KiB, "MY GAME"));
  const auto before = Snapshot(rig.data().path());
  rig.queue(rom);
  flash();
  EXPECT_TRUE(Flash(rig).substr(0, 1000 * KiB) == ReadBytes(rom));
  EXPECT_TRUE(Snapshot(rig.data().path()) == before) << "the user's files stay as they were";
  ExpectNothingLeftBehind(rig);
  EXPECT_EQ(Verdict(rig.output()), "Done: " + rom + " written to the cartridge") << rig.output();
}

// Each fix alone and all three, on a ROM with the console name at 0x100 and on one without
// (which the tool takes for another console's unless told it is a Genesis ROM), and on a ROM
// of whole Mbit, which gains nothing from padding.
TEST_P(RealToolJob, TheFixesReachTheCartridgeAsTheToolMakesThemForAGenesisRom) {
  struct Case {
    const char* name;
    bool unlicensed, checksum, pad;
    bool sega;          // "SEGA" at 0x100
    std::size_t size;
    std::vector<const char*> actions;  // the tool's runs that make the same fixes
  };
  const std::vector<Case> cases = {
      {"checksum, no console name", false, true, false, false, 1024 * KiB, {"--chk"}},
      {"checksum", false, true, false, true, 1000 * KiB, {"--chk"}},
      {"unlicensed, no console name", true, false, false, false, 512 * KiB, {"--1991"}},
      {"pad", false, false, true, true, 1000 * KiB, {"--pad"}},
      {"pad, whole Mbit", false, false, true, true, 1024 * KiB, {}},
      {"all three, no console name", true, true, true, false, 1000 * KiB,
       {"--1991", "--pad", "--chk"}},
      {"all three, whole Mbit", true, true, true, false, 512 * KiB, {"--1991", "--chk"}},
  };
  unsigned seed = 10;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig r(GetParam().program);
    const std::string original = GenesisRom(c.size, "FIX ME", c.sega, ++seed);
    const std::string rom = WriteRom(r, "game.bin", original);
    const std::string expected = madeByTheTool(original, c.actions);
    ASSERT_GE(expected.size(), original.size());
    // The header checksum is right whatever the ROM's console name.
    if (c.checksum) {
      const std::uint16_t sum = sim::GenesisChecksum(expected);
      EXPECT_EQ(static_cast<unsigned char>(expected[0x18E]), sum >> 8);
      EXPECT_EQ(static_cast<unsigned char>(expected[0x18F]), sum & 0xFF);
    }
    r.queue(rom);
    Tick(r, c.unlicensed, c.checksum, c.pad);
    ASSERT_TRUE(r.main().userClick("Command4"));
    const std::string cart = Flash(r);
    ASSERT_EQ(cart.size(), 8u << 20) << r.output();
    EXPECT_TRUE(cart.substr(0, expected.size()) == expected);
    // Past a ROM of whole Mbit, the flash stays erased: no pad was added.
    if (expected.size() % kMbit == 0) {
      EXPECT_EQ(cart.substr(expected.size(), kMbit), std::string(kMbit, '\xFF'));
    }
    EXPECT_EQ(ReadBytes(rom), original) << "the user's ROM stays as it was";
    ExpectNothingLeftBehind(r);
    EXPECT_EQ(Verdict(r.output()).rfind("Done: ", 0), 0u) << r.output();
  }
}

// Several games: the loader in the first 256 KiB, each game from a 256 KiB boundary, whole
// Mbit or not; on each release every game arrives intact.
TEST_P(RealToolJob, GamesOfAMultiGameImageLandIntactOn256KiBBoundaries) {
  struct Case {
    const char* name;
    std::vector<std::size_t> sizes;
    std::vector<std::size_t> starts;
  };
  const std::vector<Case> cases = {
      {"two games", {512 * KiB, 1536 * KiB}, {0x40000, 0xC0000}},
      {"three games, one not whole Mbit", {1000 * KiB, 512 * KiB, 128 * KiB},
       {0x40000, 0x140000, 0x1C0000}},
  };
  unsigned seed = 30;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FormRig r(GetParam().program);
    Tick(r, false, false, false);
    std::vector<std::string> games;
    for (std::size_t i = 0; i < c.sizes.size(); ++i) {
      const std::string name = "game" + std::to_string(i) + ".bin";
      games.push_back(GenesisRom(c.sizes[i], "GAME " + std::to_string(i), true, ++seed));
      WriteBytes(r.data().path() / name, games.back());
      r.queue(r.data().path() / name);
    }
    const auto before = Snapshot(r.data().path());
    ASSERT_TRUE(r.main().userClick("Command4"));
    const std::string cart = Flash(r);
    const std::string loader = ReadBytes(r.appDir().path() / "multigam.bin");
    ASSERT_EQ(cart.size(), 8u << 20) << r.output();
    EXPECT_TRUE(cart.substr(0, 0x8000) == loader.substr(0, 0x8000)) << "the loader";
    for (std::size_t i = 0; i < games.size(); ++i) {
      EXPECT_TRUE(cart.substr(c.starts[i], games[i].size()) == games[i]) << "game " << i;
    }
    EXPECT_TRUE(Snapshot(r.data().path()) == before) << "the user's files stay as they were";
    ExpectNothingLeftBehind(r);  // no TEMP.BIN, no fixed copies
    EXPECT_EQ(Verdict(r.output()).rfind("Done: ", 0), 0u) << r.output();
  }
}

// Six games of 640 KiB take 256 KiB + 6 x 768 KiB: more than 32 Mbit, so nothing runs.
TEST_P(RealToolJob, AQueueThatDoesNotFitTheCartridgeRunsNothing) {
  rig.main().get<ui::OptionButton>("Option1").setValue(false);
  rig.main().get<ui::OptionButton>("Option2").setValue(true);  // Telvo 32
  const std::string game = writeRom("six forty.bin", GenesisRom(640 * KiB, "SIX FORTY"));
  for (int i = 0; i < 6; ++i) rig.queue(game);
  flash();
  EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-sim-flash.bin")) << rig.output();
  EXPECT_FALSE(fs::exists(rig.appDir().path() / "TEMP.BIN"));
  EXPECT_NE(rig.output().find("six forty.bin"), std::string::npos) << rig.output();
}

// The port box: "0x378" is taken as 378; text that is no parallel port runs nothing.
TEST_P(RealToolJob, ThePortIsTakenWithOrWithout0xAndJunkRunsNothing) {
  const std::string rom = writeRom("game.bin", GenesisRom(256 * KiB, "PORT"));
  rig.queue(rom);
  for (const char* text : {"0x0", "", "37 8", "LPT1", "FF"}) {
    rig.main().get<ui::TextBox>("Text2").setText(text);
    flash();
    EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-sim-flash.bin")) << text;
  }
  rig.main().get<ui::TextBox>("Text2").setText("0x378");
  flash();
  EXPECT_TRUE(Flash(rig).substr(0, 256 * KiB) == ReadBytes(rom)) << rig.output();
  EXPECT_EQ(Verdict(rig.output()), "Done: " + rom + " written to the cartridge") << rig.output();
}

// The tool's failures reach the verdict: no cartridge (exit 1), a ROM it refuses (exit 0 and
// an "ERROR:" line), and a ROM that went missing after it was queued.
TEST_P(RealToolJob, EveryFailureEndsWithAFailedVerdictAndAnUnchangedCartridge) {
  std::string header(512, '\0');
  header.replace(8, 3, "\xAA\xBB\x06");
  const std::string good = writeRom("good.bin", GenesisRom(256 * KiB, "GOOD"));
  const std::string headed = writeRom("headed.bin", header + GenesisRom(256 * KiB, "HEADED"));
  const std::string gone = writeRom("gone.bin", GenesisRom(256 * KiB, "GONE"));
  struct Case {
    const char* name;
    std::string rom;
    bool noCartridge;
    std::string verdict;  // how the last line starts
  };
  const std::vector<Case> cases = {
      {"no cartridge", good, true, "Failed: "},
      {"copier header", headed, false, "Failed: "},
      // Refused before the tool runs.
      {"missing", gone, false,
       gone + " is missing or not a regular file; nothing was written to the cartridge."},
  };
  for (const Case& c : cases) {
    FormRig r(GetParam().program);
    Tick(r, false, false, false);
    r.queue(c.rom);
    if (c.rom == gone) fs::remove(gone);
    config::SetEnvironmentVariable("TELVO_SIM_NO_CARTRIDGE", c.noCartridge ? "1" : "");
    ASSERT_TRUE(r.main().userClick("Command4"));
    config::SetEnvironmentVariable("TELVO_SIM_NO_CARTRIDGE", "");
    const std::string flashImage = r.appDir().file("telvo-sim-flash.bin");
    if (fs::exists(flashImage)) {
      EXPECT_EQ(ReadBytes(flashImage), std::string(8u << 20, '\xFF')) << c.name;
    }
    EXPECT_EQ(Verdict(r.output()).rfind(c.verdict, 0), 0u) << c.name << "\n" << r.output();
  }
}

// A save sent to slot 2 from a folder with a blank in its name, with a stale file of the same
// name in the application folder; the slot received into a new file; a save larger than a
// slot refused before anything runs.
TEST_P(RealToolJob, SavesGoToTheirSlotAndComeBackByteForByte) {
  const fs::path saves = rig.data().path() / "my saves";
  fs::create_directories(saves);
  std::string save(32 * KiB, '\0');
  for (std::size_t i = 0; i < save.size(); ++i) save[i] = static_cast<char>(i * 7 + 3);
  WriteBytes(saves / "game.srm", save);
  WriteBytes(rig.appDir().path() / "game.srm", std::string(32 * KiB, 'X'));
  WriteBytes(saves / "too big.srm", std::string(33 * KiB, 'B'));
  rig.main().userScroll("VScroll1", 1);  // slot 2
  const auto transfer = [&](const std::string& name) { rig.transferSram(saves, name); };
  transfer("game.srm");
  EXPECT_EQ(SlotFile(rig, 2), save) << rig.output();
  EXPECT_EQ(Verdict(rig.output()).rfind("Done: ", 0), 0u) << rig.output();
  transfer("back.srm");
  EXPECT_EQ(ReadBytes(saves / "back.srm"), save);
  EXPECT_EQ(Verdict(rig.output()).rfind("Done: ", 0), 0u) << rig.output();
  const std::string sram = ReadBytes(rig.appDir().path() / "telvo-sim-sram.bin");
  transfer("too big.srm");
  EXPECT_EQ(ReadBytes(rig.appDir().path() / "telvo-sim-sram.bin"), sram) << rig.output();
  EXPECT_EQ(ReadBytes(saves / "game.srm"), save);
  EXPECT_EQ(ReadBytes(rig.appDir().path() / "game.srm"), std::string(32 * KiB, 'X'));
  // The slot's save kept before the send, and nothing else.
  ExpectNothingLeftBehind(rig, {"game.srm", "saves"});
  EXPECT_EQ(Snapshot(rig.appDir().path() / "saves").size(), 1u);
}

// A send keeps the slot's save first, writes the file, reads the slot back and compares.
TEST_P(RealToolJob, ASendKeepsTheSlotsSaveThenWritesAndVerifiesIt) {
  const fs::path saves = rig.data().path() / "my saves";
  fs::create_directories(saves);
  std::string earlier(32 * KiB, '\0');
  std::string save(32 * KiB, '\0');
  for (std::size_t i = 0; i < save.size(); ++i) {
    earlier[i] = static_cast<char>(i * 5 + 1);
    save[i] = static_cast<char>(i * 7 + 3);
  }
  WriteBytes(saves / "earlier.srm", earlier);
  WriteBytes(saves / "game.srm", save);
  rig.main().userScroll("VScroll1", 1);  // slot 2
  rig.transferSram(saves, "earlier.srm");
  ASSERT_EQ(SlotFile(rig, 2), earlier) << rig.output();
  rig.transferSram(saves, "game.srm");
  EXPECT_EQ(Verdict(rig.output()),
            "Done: " + (saves / "game.srm").string() + " written to slot 2 and verified")
      << rig.output();
  EXPECT_EQ(SlotFile(rig, 2), save);
  EXPECT_EQ(ReadBytes(saves / "game.srm"), save);
  // One copy per send: the empty slot before the first, the earlier save before this one.
  std::multiset<std::string> kept;
  for (const auto& [name, bytes] : Snapshot(rig.appDir().path() / "saves")) kept.insert(bytes);
  EXPECT_EQ(kept.size(), 2u);
  EXPECT_EQ(kept.count(earlier), 1u);
  ExpectNothingLeftBehind(rig, {"saves"});
}

// Release 2.2.1 asks the cartridge for its ID before an SRAM transfer and fails; 2.0.0 does not
// ask, "receives" what the idle port reads and "sends" with exit 0: only the read-back tells.
TEST_P(RealToolJob, WithNoCartridgeASendIsNeverReportedDone) {
  const fs::path saves = rig.data().path() / "my saves";
  fs::create_directories(saves);
  WriteBytes(saves / "game.srm", std::string(32 * KiB, 'G'));
  config::SetEnvironmentVariable("TELVO_SIM_NO_CARTRIDGE", "1");
  rig.transferSram(saves, "game.srm");
  const std::string output = rig.output();
  const std::string verdict = Verdict(output);
  if (GetParam().release == "2.0.0") {
    EXPECT_EQ(verdict.rfind("Failed: slot 1 does not hold ", 0), 0u) << output;
  } else {
    EXPECT_EQ(verdict.rfind("Failed: keep slot 1's present save in ", 0), 0u) << output;
    EXPECT_NE(verdict.find("; slot 1 was not changed."), std::string::npos) << verdict;
    EXPECT_NE(output.find("No cartridge answered"), std::string::npos) << output;
  }
  ExpectNothingLeftBehind(rig, {"saves"});
}

INSTANTIATE_TEST_SUITE_P(Releases, RealToolJob, ::testing::ValuesIn(testing_support::RealTools()),
                         [](const ::testing::TestParamInfo<RealTool>& info) {
                           std::string name = "ucon64_" + info.param.release;
                           for (char& c : name)
                             if (c == '.') c = '_';
                           return name;
                         });

}  // namespace
