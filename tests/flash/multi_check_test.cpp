// What stops a multi-game flash before the build: a loader that would make an image for
// another console, more games than an image holds, and games that would be cut or dropped.
// Through the main window with the cartridge simulator, and the size arithmetic at its edges.
#include <gtest/gtest.h>

#include <filesystem>

#include "flash/multi_check.h"
#include "support/form_rig.h"

namespace {

using testing_support::FormRig;
using testing_support::WriteBytes;
namespace fs = std::filesystem;

constexpr std::size_t kKiB = 1024;
constexpr const char* kNothing = "; nothing was written to the cartridge.";

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

void Untick(FormRig& rig, const char* box) { rig.main().get<ui::CheckBox>(box).setValue(0); }

TEST(MultiGameCheck, AMissingOrWrongLoaderRunsNothingAndSaysWhy) {
  const struct {
    const char* name;
    std::size_t size;  // 0: no loader
    bool genesis;      // "SEGA" at byte 0x100
    std::string line;  // after the loader's path
  } cases[] = {
      {"missing", 0, true, " is missing or not a regular file"},
      {"one byte short", 128 * kKiB - 1, true,
       " has 131071 bytes; a Genesis loader has 131072"},
      {"twice the size", 256 * kKiB, true, " has 262144 bytes; a Genesis loader has 131072"},
      {"another console's", 128 * kKiB, false,
       " has no Genesis header (\"SEGA\" at byte 0x100)"},
  };
  for (const auto& c : cases) {
    FormRig rig;
    const fs::path loader = rig.appDir().path() / "multigam.bin";
    fs::remove(loader);
    if (c.size > 0) {
      std::string bytes(c.size, '\0');
      bytes.replace(0x100, 4, c.genesis ? "SEGA" : "SEGB");
      WriteBytes(loader, bytes);
    }
    rig.queue(rig.writeRom("a.bin", "A"));
    rig.queue(rig.writeRom("b.bin", "B"));
    ASSERT_TRUE(rig.main().userClick("Command4"));  // "Fix checksum" is ticked by default
    EXPECT_TRUE(rig.runs().empty()) << c.name << ": not even a fix runs";
    EXPECT_TRUE(Contains(rig.output(), "The multi-game loader " + loader.string() + c.line + kNothing))
        << c.name << ": " << rig.output();
    EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-sim-flash.bin")) << c.name;
    EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-prep")) << c.name;
  }
}

TEST(MultiGameCheck, AtMostThirtyOneGamesMakeOneImage) {
  const struct {
    int games;
    bool runs;
  } cases[] = {{31, true}, {32, false}};
  for (const auto& c : cases) {
    FormRig rig;
    Untick(rig, "Check2");
    for (int i = 0; i < c.games; ++i)
      rig.writeRom("game" + std::to_string(100 + i) + ".bin", "GAME");
    rig.browseData();
    auto& files = rig.main().get<ui::FileList>("File1");
    for (int i = 0; i < files.listCount(); ++i) rig.main().userDoubleClick("File1", i);
    ASSERT_EQ(rig.main().get<ui::ListBox>("List1").listCount(), c.games);
    ASSERT_TRUE(rig.main().userClick("Command4"));
    EXPECT_EQ(rig.runs().size(), c.runs ? 2u : 0u) << c.games;
    EXPECT_EQ(Contains(rig.output(), "32 games are queued; a multi-game image holds at most 31" +
                                         std::string(kNothing)),
              !c.runs)
        << rig.output();
  }
}

// Sizes in KiB; the loader takes 128 KiB, each game is padded to 16 KiB, padding by the fix to
// whole Mbit (128 KiB) counts, as the build is given the padded copies.
TEST(MultiGameCheck, GamesThatDoNotFitAreNamedWithHowMuchLiesPastTheEnd) {
  const struct {
    const char* option;  // size option
    bool pad;            // "Pad ROM" ticked
    std::vector<std::string> lines;  // empty: it fits and is built
  } cases[] = {
      {"Option2", false,
       {"The games need 4144 KiB with the loader, 48 KiB more than the 32 Mbit (4096 KiB) "
        "image holds",
        "Past the end: $c (32 KiB of 112 KiB), $d (16 KiB of 16 KiB)."}},
      {"Option2", true,
       {"The games need 4352 KiB with the loader, 256 KiB more than the 32 Mbit (4096 KiB) "
        "image holds",
        "Past the end: $c (128 KiB of 128 KiB), $d (128 KiB of 128 KiB)."}},
      {"Option1", true, {}},
  };
  for (const auto& c : cases) {
    FormRig rig;
    Untick(rig, "Check2");
    rig.main().get<ui::CheckBox>("Check4").setValue(c.pad ? 1 : 0);
    rig.main().get<ui::OptionButton>("Option1").setValue(false);
    rig.main().get<ui::OptionButton>("Option2").setValue(false);
    rig.main().get<ui::OptionButton>(c.option).setValue(true);
    // 2000 + 1888 KiB fill 32 Mbit with the loader up to 4016 KiB (padded to whole Mbit,
    // 2048 + 1920: exactly), then c and d lie past the end.
    const std::string a = rig.writeRom("a.bin", "A", 2000 * kKiB);
    const std::string b = rig.writeRom("b.bin", "B", 1888 * kKiB);
    const std::string cc = rig.writeRom("c.bin", "C", 100 * kKiB);
    const std::string d = rig.writeRom("d.bin", "D", 10 * kKiB);
    for (const std::string& rom : {a, b, cc, d}) rig.queue(rom);
    ASSERT_TRUE(rig.main().userClick("Command4"));
    const auto runs = rig.runs();
    const std::size_t preparation = c.pad ? 4 : 0;
    if (c.lines.empty()) {
      EXPECT_EQ(runs.size(), preparation + 2) << "built and written";
    } else {
      EXPECT_EQ(runs.size(), preparation) << "only the fixes ran";
      EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-sim-flash.bin"));
    }
    for (std::string line : c.lines) {
      for (const auto& [mark, path] : {std::pair{"$c", cc}, std::pair{"$d", d}}) {
        const std::size_t at = line.find(mark);
        if (at != std::string::npos) line.replace(at, 2, path);
      }
      EXPECT_TRUE(Contains(rig.output(), line)) << line << "\nin:\n" << rig.output();
    }
    EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-prep"));
    EXPECT_FALSE(fs::exists(rig.appDir().path() / "TEMP.BIN"));
  }
}

TEST(MultiGameCheck, TheImageIsFullExactlyAtItsSize) {
  const struct {
    std::vector<std::uint64_t> sizes;  // bytes
    int mbit;
    std::size_t lines;
  } cases[] = {
      {{3968 * kKiB}, 32, 0},               // 128 + 3968 = 4096 KiB
      {{3968 * kKiB + 1}, 32, 2},           // one byte more takes another 16 KiB
      {{3952 * kKiB, 1}, 32, 0},            // a one-byte game still takes 16 KiB
      {{3952 * kKiB, 1, 1}, 32, 2},
      {{3968 * kKiB, 4096 * kKiB}, 64, 0},
      {{}, 32, 0},
  };
  for (const auto& c : cases) {
    std::vector<flash::QueuedGame> games;
    for (std::uint64_t size : c.sizes) games.push_back({"g", size});
    EXPECT_EQ(flash::ImageSizeProblems(games, c.mbit).size(), c.lines)
        << c.sizes.size() << " games at " << c.mbit;
  }
}

}  // namespace
