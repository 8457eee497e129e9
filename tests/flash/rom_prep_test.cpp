// The ROM fixes made before a flash, through the main window with the cartridge simulator: the
// exact preparation runs for every combination of ticked fixes, on one ROM and on several
// (also of equal names), what reaches the cartridge, and that the user's files stay as they
// were and no scratch folder is left.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <map>

#include "exec/process.h"
#include "support/form_rig.h"

namespace {

using testing_support::CartridgeFile;
using testing_support::FormRig;
using testing_support::ReadBytes;
using testing_support::WriteBytes;
namespace fs = std::filesystem;
using Args = std::vector<std::string>;

struct Fixes {
  bool unlicensed;  // Check1
  bool pad;         // Check4
  bool checksum;    // Check2
};

// The eight combinations of the three fixes.
std::vector<Fixes> AllCombinations() {
  std::vector<Fixes> all;
  for (int bits = 0; bits < 8; ++bits) all.push_back({(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0});
  return all;
}

std::string Describe(const Fixes& f) {
  return std::string("1991=") + (f.unlicensed ? "1" : "0") + " pad=" + (f.pad ? "1" : "0") +
         " chk=" + (f.checksum ? "1" : "0");
}

void Tick(FormRig& rig, const Fixes& f) {
  rig.main().get<ui::CheckBox>("Check1").setValue(f.unlicensed ? 1 : 0);
  rig.main().get<ui::CheckBox>("Check2").setValue(f.checksum ? 1 : 0);
  rig.main().get<ui::CheckBox>("Check4").setValue(f.pad ? 1 : 0);
}

// The flags of the flash command as the window has them ("Enforce" is ticked by default).
Args FlashFlags(const Fixes& f) {
  Args flags;
  if (f.unlicensed) flags.push_back("--1991");
  if (f.checksum) flags.push_back("--chk");
  flags.push_back("--gen");
  if (f.pad) flags.push_back("--pad");
  return flags;
}

// What a ROM must look like on the cartridge once the fixes took effect: the console name a
// licensed game carries, whole Mbit, and a header checksum over everything after the header.
std::string Fixed(std::string rom, const Fixes& f) {
  if (f.unlicensed) rom.replace(0x100, 16, "SEGA GENESIS    ");
  if (f.pad) rom.resize((rom.size() + (128u << 10) - 1) / (128u << 10) * (128u << 10), '\0');
  if (f.checksum) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0x200; i < rom.size(); i += 2) {
      const unsigned high = static_cast<unsigned char>(rom[i]);
      const unsigned low = i + 1 < rom.size() ? static_cast<unsigned char>(rom[i + 1]) : 0u;
      sum = static_cast<std::uint16_t>(sum + ((high << 8) | low));
    }
    rom[0x18E] = static_cast<char>(sum >> 8);
    rom[0x18F] = static_cast<char>(sum & 0xFF);
  }
  return rom;
}

struct Expected {
  std::vector<Args> runs;
  std::string last;  // the file handed on
};

// The preparation runs of entry (from 1) for rom: each fix as a Genesis ROM on the previous
// copy, into its own folder of the entry's sub-folder of the scratch folder, in the order 1991,
// pad, checksum. Padding runs only on a ROM that is not whole Mbit, and for a multi-game image
// whether or not it is ticked.
Expected Preparation(const FormRig& rig, int entry, const std::string& rom, const Fixes& f,
                     bool multiGame = false) {
  Expected e{{}, rom};
  const fs::path folder = rig.appDir().path() / "telvo-prep" / std::to_string(entry);
  const bool pad = (f.pad || multiGame) && fs::file_size(rom) % (128u << 10) != 0;
  const std::pair<bool, const char*> steps[] = {
      {f.unlicensed, "1991"}, {pad, "pad"}, {f.checksum, "chk"}};
  for (const auto& [ticked, fix] : steps) {
    if (!ticked) continue;
    const fs::path out = folder / fix;
    e.runs.push_back({"--gen", std::string("--") + fix, e.last, "-o=" + out.string()});
    e.last = (out / fs::path(rom).filename()).string();
  }
  return e;
}

// Every regular file under folder with its bytes (but the tool's run log), to see that
// nothing was written there.
std::map<std::string, std::string> Snapshot(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (entry.is_regular_file() && entry.path().filename() != "tool.log")
      files[entry.path().string()] = ReadBytes(entry.path());
  }
  return files;
}

TEST(RomPreparation, OneRomGetsEachTickedFixInOrderAndTheLastCopyIsFlashed) {
  for (const Fixes& f : AllCombinations()) {
    FormRig rig;
    // Not whole Mbit, so that padding shows.
    const std::string rom = rig.writeRom("my game.bin", "MY GAME", 5000);
    rig.queue(rom);
    Tick(rig, f);
    const auto before = Snapshot(rig.data().path());
    ASSERT_TRUE(rig.main().userClick("Command4"));

    Expected e = Preparation(rig, 1, rom, f);
    Args flash{"--xmd", e.last, "--port=0x378"};
    for (const std::string& flag : FlashFlags(f)) flash.push_back(flag);
    e.runs.push_back(flash);
    std::vector<Args> got;
    for (const auto& run : rig.runs()) got.push_back(run.args);
    EXPECT_EQ(got, e.runs) << Describe(f);

    const std::string expected = Fixed(ReadBytes(rom), f);
    EXPECT_TRUE(CartridgeFile(rig).substr(0, expected.size()) == expected) << Describe(f);
    EXPECT_TRUE(Snapshot(rig.data().path()) == before) << "the user's files stay as they were";
    EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-prep")) << Describe(f);
  }
}

// The tool's padding always adds a Mbit: a ROM that is whole Mbit already is not padded, with
// "Pad ROM" ticked or for a multi-game image.
TEST(RomPreparation, AWholeMbitRomIsNeverPadded) {
  for (int games : {1, 2}) {
    FormRig rig;
    std::vector<std::string> roms;
    for (int i = 0; i < games; ++i) {
      roms.push_back(rig.writeRom("g" + std::to_string(i) + ".bin", "G", 512u << 10));
      rig.queue(roms.back());
    }
    Tick(rig, {false, true, false});
    ASSERT_TRUE(rig.main().userClick("Command4"));
    const auto runs = rig.runs();
    ASSERT_EQ(runs.size(), games == 1 ? 1u : 2u) << "only the flash, or the build and the flash";
    EXPECT_EQ(rig.output().find("is padded"), std::string::npos);
    const std::string cart = CartridgeFile(rig);
    for (const std::string& rom : roms) EXPECT_NE(cart.find(ReadBytes(rom)), std::string::npos);
  }
}

TEST(RomPreparation, SeveralRomsOfEqualNamesArePreparedApartThenCombined) {
  for (const Fixes& f : AllCombinations()) {
    FormRig rig;
    fs::create_directories(rig.data().path() / "usa");
    fs::create_directories(rig.data().path() / "my europe");
    rig.writeRom("usa/game.bin", "AMERICAN GAME", 20000);
    rig.writeRom("my europe/game.bin", "EUROPEAN GAME", 3000);
    // As the list holds them: joined with the platform's separator.
    const std::string a = (rig.data().path() / "usa" / "game.bin").string();
    const std::string b = (rig.data().path() / "my europe" / "game.bin").string();
    rig.queue(a);
    rig.queue(b);
    Tick(rig, f);
    const auto before = Snapshot(rig.data().path());
    ASSERT_TRUE(rig.main().userClick("Command4"));

    const Expected ea = Preparation(rig, 1, a, f, /*multiGame=*/true);
    const Expected eb = Preparation(rig, 2, b, f, /*multiGame=*/true);
    std::vector<Args> expected = ea.runs;
    expected.insert(expected.end(), eb.runs.begin(), eb.runs.end());
    expected.push_back({"-q", "--multi=64", "multigam.bin", ea.last, eb.last, "TEMP.BIN",
                        "-o=" + rig.appDir().str()});
    Args flash{"--xmd", "TEMP.BIN", "--port=0x378"};
    for (const std::string& flag : FlashFlags(f)) flash.push_back(flag);
    expected.push_back(flash);
    std::vector<Args> got;
    for (const auto& run : rig.runs()) got.push_back(run.args);
    EXPECT_EQ(got, expected) << Describe(f);
    for (const std::string& rom : {a, b}) {
      EXPECT_NE(rig.output().find(rom + " is padded to whole Mbit on a copy"), std::string::npos)
          << rig.output();
    }

    const std::string cart = CartridgeFile(rig);
    const Fixes padded{f.unlicensed, true, f.checksum};
    EXPECT_NE(cart.find(Fixed(ReadBytes(a), padded)), std::string::npos) << Describe(f);
    EXPECT_NE(cart.find(Fixed(ReadBytes(b), padded)), std::string::npos) << Describe(f);
    EXPECT_TRUE(Snapshot(rig.data().path()) == before) << "the user's files stay as they were";
    EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-prep")) << Describe(f);
    EXPECT_FALSE(fs::exists(rig.appDir().path() / "TEMP.BIN")) << Describe(f);
  }
}

// A fix the tool refuses fails the job there: no later fix and no flash runs, the verdict
// names the fix, and a copy left in the scratch folder by a job that was cut short is never
// flashed in its place.
TEST(RomPreparation, AFixTheToolRefusesStopsTheJobBeforeTheFlash) {
  FormRig rig;
  const std::string rom = rig.writeRom("tiny.bin", "", 300);  // too short for a header
  rig.queue(rom);
  Tick(rig, {true, true, true});
  const fs::path scratch = rig.appDir().path() / "telvo-prep";
  fs::create_directories(scratch / "1" / "1991");
  WriteBytes(scratch / "1" / "1991" / "tiny.bin", "a copy from a job that was cut short");
  const std::string original = ReadBytes(rom);
  ASSERT_TRUE(rig.main().userClick("Command4"));

  std::vector<Args> got;
  for (const auto& run : rig.runs()) got.push_back(run.args);
  EXPECT_EQ(got, (std::vector<Args>{
                     {"--gen", "--1991", rom, "-o=" + (scratch / "1" / "1991").string()},
                 }));
  const std::string out = rig.output();
  EXPECT_NE(out.find("ERROR:"), std::string::npos) << "the tool said why";
  EXPECT_TRUE(out.ends_with("Failed: fix unlicensed game " + rom +
                            ": the tool reported an error (exit code 1); nothing was written "
                            "to the cartridge." + std::string(exec::kOutputLineEnd)))
      << out;
  EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-sim-flash.bin"));
  EXPECT_TRUE(ReadBytes(rom) == original);
  EXPECT_FALSE(fs::exists(scratch));
}

}  // namespace
