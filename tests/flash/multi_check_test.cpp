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

// The loader takes 256 KiB and every game at least one 2 Mbit block: 15 games on 32 Mbit, 31 on
// 64 Mbit.
TEST(MultiGameCheck, AtMostFifteenOrThirtyOneGamesMakeOneImage) {
  const struct {
    const char* option;
    int games;
    const char* refusal;  // nullptr: built and written
  } cases[] = {
      {"Option2", 15, nullptr},
      {"Option2", 16, "16 games are queued; a 32 Mbit multi-game image holds at most 15"},
      {"Option1", 31, nullptr},
      {"Option1", 32, "32 games are queued; a 64 Mbit multi-game image holds at most 31"},
  };
  for (const auto& c : cases) {
    FormRig rig;
    Untick(rig, "Check2");
    rig.main().get<ui::OptionButton>("Option1").setValue(false);
    rig.main().get<ui::OptionButton>("Option2").setValue(false);
    rig.main().get<ui::OptionButton>(c.option).setValue(true);
    for (int i = 0; i < c.games; ++i)
      rig.writeRom("game" + std::to_string(100 + i) + ".bin", "GAME", 128 * kKiB);
    rig.browseData();
    auto& files = rig.main().get<ui::FileList>("File1");
    for (int i = 0; i < files.listCount(); ++i) rig.main().userDoubleClick("File1", i);
    ASSERT_EQ(rig.main().get<ui::ListBox>("List1").listCount(), c.games);
    ASSERT_TRUE(rig.main().userClick("Command4"));
    EXPECT_EQ(rig.runs().size(), c.refusal ? 0u : 2u) << c.games;
    if (c.refusal) {
      EXPECT_TRUE(Contains(rig.output(), c.refusal + std::string(kNothing))) << rig.output();
    }
  }
}

// Sizes in KiB; the loader takes 256 KiB, each game starts on a 256 KiB boundary, and a game
// that is not whole Mbit is padded to whole Mbit first, so its padded size counts.
TEST(MultiGameCheck, GamesThatDoNotFitAreNamedWithHowMuchLiesPastTheEnd) {
  const struct {
    const char* name;
    const char* option;  // size option
    std::vector<std::uint64_t> sizes;
    std::size_t padRuns;
    std::vector<std::string> lines;  // empty: it fits and is built; $N: game N's path
  } cases[] = {
      {"six of 640 KiB on 32 Mbit", "Option2", {640, 640, 640, 640, 640, 640}, 0,
       {"The games need 4864 KiB with the loader, 768 KiB more than the 32 Mbit (4096 KiB) "
        "image holds",
        "Past the end: $6 (768 KiB of 768 KiB)."}},
      {"six of 640 KiB on 64 Mbit", "Option1", {640, 640, 640, 640, 640, 640}, 0, {}},
      {"four of 1000 KiB, padded first", "Option2", {1000, 1000, 1000, 1000}, 4,
       {"The games need 4352 KiB with the loader, 256 KiB more than the 32 Mbit (4096 KiB) "
        "image holds",
        "Past the end: $4 (256 KiB of 1024 KiB)."}},
  };
  for (const auto& c : cases) {
    FormRig rig;
    Untick(rig, "Check2");
    rig.main().get<ui::OptionButton>("Option1").setValue(false);
    rig.main().get<ui::OptionButton>("Option2").setValue(false);
    rig.main().get<ui::OptionButton>(c.option).setValue(true);
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < c.sizes.size(); ++i) {
      paths.push_back(rig.writeRom("g" + std::to_string(i + 1) + ".bin", "G", c.sizes[i] * kKiB));
      rig.queue(paths.back());
    }
    ASSERT_TRUE(rig.main().userClick("Command4"));
    const auto runs = rig.runs();
    if (c.lines.empty()) {
      EXPECT_EQ(runs.size(), c.padRuns + 2) << c.name << ": built and written";
    } else {
      EXPECT_EQ(runs.size(), c.padRuns) << c.name << ": only the padding ran";
      EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-sim-flash.bin"));
    }
    for (std::string line : c.lines) {
      const std::size_t at = line.find('$');
      if (at != std::string::npos) line.replace(at, 2, paths[line[at + 1] - '1']);
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
      {{3840 * kKiB}, 32, 0},               // 256 + 3840 = 4096 KiB
      {{3840 * kKiB + 1}, 32, 2},           // one byte more takes another 256 KiB
      {{3584 * kKiB, 1}, 32, 0},            // a one-byte game still takes 256 KiB
      {{3584 * kKiB, 1, 1}, 32, 2},
      {{3840 * kKiB, 4096 * kKiB}, 64, 0},
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
