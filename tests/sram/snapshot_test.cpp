// The names of the kept saves and the comparison of a slot with the file sent to it.
#include "sram/snapshot.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/path_text.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testing_support::TempDir;
using testing_support::WriteBytes;

constexpr platform::LocalTime kMorning{2026, 3, 7, 9, 5, 2};

TEST(SnapshotName, SlotAndLocalTimeWithLeadingZerosAndANumberFromTheSecond) {
  EXPECT_EQ(sram::NumberedName(sram::SnapshotStem("2", kMorning), 1), "slot2-20260307-090502.srm");
  EXPECT_EQ(sram::NumberedName(sram::SnapshotStem("2", kMorning), 2),
            "slot2-20260307-090502-2.srm");
  EXPECT_EQ(sram::NumberedName(sram::SnapshotStem("4", {2026, 12, 31, 23, 59, 59}), 11),
            "slot4-20261231-235959-11.srm");
}

// Whatever has a name already, a kept save, a folder, or a file of the user's, is skipped: the
// tool would send an existing file to the slot.
TEST(NewSnapshotPath, MakesTheFolderAndSkipsEveryNameThatIsTaken) {
  TempDir app;
  const std::string saves = platform::JoinPath(app.str(), "saves");
  const auto first = sram::NewSnapshotPath(app.str(), "1", kMorning);
  ASSERT_TRUE(first);
  EXPECT_EQ(*first, platform::JoinPath(saves, "slot1-20260307-090502.srm"));
  EXPECT_TRUE(fs::is_directory(saves));
  EXPECT_TRUE(fs::is_empty(saves));

  WriteBytes(*first, "kept");
  fs::create_directory(platform::JoinPath(saves, "slot1-20260307-090502-2.srm"));
  WriteBytes(platform::JoinPath(saves, "slot1-20260307-090502-3.srm"), "");
  EXPECT_EQ(sram::NewSnapshotPath(app.str(), "1", kMorning),
            platform::JoinPath(saves, "slot1-20260307-090502-4.srm"));
  // Another slot at the same second has names of its own.
  EXPECT_EQ(sram::NewSnapshotPath(app.str(), "3", kMorning),
            platform::JoinPath(saves, "slot3-20260307-090502.srm"));
}

TEST(NewSnapshotPath, NoneWhenAFileTakesTheFolderName) {
  TempDir app;
  WriteBytes(app.file("saves"), "not a folder");
  EXPECT_EQ(sram::NewSnapshotPath(app.str(), "1", kMorning), std::nullopt);
}

TEST(DifferingBytes, CountsOnlyTheBytesSent) {
  const std::string slot = "ABCDEFGH";
  struct Row {
    const char* name;
    std::string sent;
    std::string slot;
    std::size_t expected;
  };
  const Row rows[] = {
      {"equal", "ABCDEFGH", slot, 0},
      {"shorter file: the slot's tail is not compared", "ABC", slot, 0},
      {"two bytes wrong", "AbCDEFGh", slot, 2},
      {"slot read back short", "ABCDEFGHIJ", slot, 2},
      {"nothing read back", "ABC", "", 3},
      {"nothing sent", "", slot, 0},
  };
  for (const Row& row : rows)
    EXPECT_EQ(sram::DifferingBytes(row.sent, row.slot), row.expected) << row.name;
}

}  // namespace
