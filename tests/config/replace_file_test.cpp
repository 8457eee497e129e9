#include "config/replace_file.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

namespace {

namespace fs = std::filesystem;
using config::ReadWholeFile;
using config::ReplaceFile;
using config::TemporaryPathFor;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

// Every byte value, CR LF pairs and a NUL: the file must hold exactly what was given.
std::string AwkwardBytes() {
  std::string bytes = "line\r\nlone\rlf\n";
  for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
  return bytes;
}

TEST(ReplaceFile, WritesExactBytes) {
  struct Row {
    const char* name;
    std::optional<std::string> before;  // nullopt: no file yet
    std::string bytes;
  };
  const Row rows[] = {
      {"new file", std::nullopt, AwkwardBytes()},
      {"longer old file", std::string(10000, 'x'), "short\r\n"},
      {"shorter old file", "a", AwkwardBytes()},
      {"empty new content", "old\r\n", ""},
      {"large content", std::nullopt, std::string(1 << 20, '\x5a')},
  };
  for (const Row& row : rows) {
    TempDir dir;
    std::string target = dir.file("TELVO.INI");
    if (row.before) WriteBytes(target, *row.before);

    ASSERT_TRUE(ReplaceFile(target, row.bytes)) << row.name;
    EXPECT_EQ(ReadBytes(target), row.bytes) << row.name;
    EXPECT_FALSE(fs::exists(TemporaryPathFor(target))) << row.name;
  }
}

TEST(ReplaceFile, LeftoverTemporaryFileDoesNotBlockSaving) {
  TempDir dir;
  std::string target = dir.file("TELVO.INI");
  WriteBytes(target, "old\r\n");
  WriteBytes(TemporaryPathFor(target), "half-written junk from an earlier run");

  ASSERT_TRUE(ReplaceFile(target, "new\r\n"));
  EXPECT_EQ(ReadBytes(target), "new\r\n");
  EXPECT_FALSE(fs::exists(TemporaryPathFor(target)));
}

TEST(ReplaceFile, DirectoryInTheWayOfTheTemporaryFileKeepsTheOldFile) {
  TempDir dir;
  std::string target = dir.file("TELVO.INI");
  WriteBytes(target, "old\r\n");
  fs::create_directory(TemporaryPathFor(target));
  WriteBytes(fs::path(TemporaryPathFor(target)) / "inside", "keep");

  EXPECT_FALSE(ReplaceFile(target, "new\r\n"));
  EXPECT_EQ(ReadBytes(target), "old\r\n");
  // The directory is not ours: it stays with its contents.
  EXPECT_EQ(ReadBytes(fs::path(TemporaryPathFor(target)) / "inside"), "keep");
}

TEST(ReplaceFile, DirectoryInTheWayOfTheTargetIsLeftAndTheTemporaryFileRemoved) {
  TempDir dir;
  std::string target = dir.file("TELVO.INI");
  fs::create_directory(target);
  WriteBytes(fs::path(target) / "inside", "keep");

  EXPECT_FALSE(ReplaceFile(target, "new\r\n"));
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(ReadBytes(fs::path(target) / "inside"), "keep");
  EXPECT_FALSE(fs::exists(TemporaryPathFor(target)));
}

TEST(ReplaceFile, MissingFolderFails) {
  TempDir dir;
  std::string target = dir.file("missing/TELVO.INI");
  EXPECT_FALSE(ReplaceFile(target, "new\r\n"));
  EXPECT_FALSE(fs::exists(target));
}

TEST(ReadWholeFile, ReadsOrReportsNothing) {
  TempDir dir;
  WriteBytes(dir.file("bytes"), AwkwardBytes());
  WriteBytes(dir.file("empty"), "");
  fs::create_directory(dir.file("folder"));

  struct Row {
    std::string path;
    std::optional<std::string> expected;
  };
  const Row rows[] = {
      {dir.file("bytes"), AwkwardBytes()},
      {dir.file("empty"), std::string()},
      {dir.file("folder"), std::nullopt},
      {dir.file("missing"), std::nullopt},
      {"", std::nullopt},
  };
  for (const Row& row : rows) EXPECT_EQ(ReadWholeFile(row.path), row.expected) << row.path;
}

}  // namespace
