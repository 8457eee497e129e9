#include "platform/file_read.h"
#include "platform/file_replace.h"
#include "platform/folders.h"
#include "platform/path_text.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;
using testing_support::CurrentDirGuard;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

#ifdef _WIN32
constexpr const char* kOwnProgram = "test_platform.exe";
constexpr char kSeparator = '\\';
#else
constexpr const char* kOwnProgram = "test_platform";
constexpr char kSeparator = '/';
#endif

TEST(ApplicationDirectory, HoldsTheRunningProgramWithoutTrailingSeparator) {
  std::string dir = platform::ApplicationDirectory();
  ASSERT_FALSE(dir.empty());
  EXPECT_NE(dir.back(), kSeparator);
  EXPECT_TRUE(platform::FileExists(dir + kSeparator + kOwnProgram)) << dir;
}

TEST(ApplicationDirectory, DoesNotFollowTheCurrentDirectory) {
  std::string before = platform::ApplicationDirectory();
  TempDir dir;
  CurrentDirGuard restore;
  ASSERT_TRUE(platform::ChangeDirectory(dir.str()));
  EXPECT_EQ(platform::ApplicationDirectory(), before);
}

TEST(FileExists, OnlyForEntriesThatAreNotDirectories) {
  TempDir dir;
  WriteBytes(dir.file("file"), "x");
  WriteBytes(dir.file("empty"), "");
  fs::create_directory(dir.file("folder"));
  struct Row {
    std::string path;
    bool expected;
  };
  std::vector<Row> rows = {
      {dir.file("file"), true},
      {dir.file("empty"), true},
      {dir.file("folder"), false},
      {dir.str(), false},
      {dir.file("missing"), false},
      {dir.file("missing/file"), false},
      {dir.file("file") + kSeparator + "x", false},
      {"", false},
  };
#ifndef _WIN32
  fs::create_symlink(dir.file("file"), dir.file("link-to-file"));
  fs::create_directory_symlink(dir.file("folder"), dir.file("link-to-folder"));
  fs::create_symlink(dir.file("missing"), dir.file("dangling"));
  rows.push_back({dir.file("folder") + "/", false});
  rows.push_back({dir.file("link-to-file"), true});
  rows.push_back({dir.file("link-to-folder"), false});
  rows.push_back({dir.file("dangling"), false});
#endif
  for (const Row& row : rows) EXPECT_EQ(platform::FileExists(row.path), row.expected) << row.path;
}

TEST(CurrentDirectory, ChangesOnlyToDirectoriesThatExist) {
  TempDir dir;
  fs::create_directory(dir.file("sub dir"));
  CurrentDirGuard restore;

  ASSERT_TRUE(platform::ChangeDirectory(dir.file("sub dir")));
  EXPECT_TRUE(fs::equivalent(platform::CurrentDirectory(), dir.file("sub dir")));

  const std::string refused[] = {dir.file("missing"), "", dir.file("sub dir") + kSeparator + "x"};
  for (const std::string& path : refused) {
    EXPECT_FALSE(platform::ChangeDirectory(path)) << path;
    EXPECT_TRUE(fs::equivalent(platform::CurrentDirectory(), dir.file("sub dir"))) << path;
  }
}

TEST(RemoveFile, RemovesFilesOnly) {
  TempDir dir;
  WriteBytes(dir.file("TEMP.BIN"), "image");
  fs::create_directory(dir.file("folder"));

  EXPECT_TRUE(platform::RemoveFile(dir.file("TEMP.BIN")));
  EXPECT_FALSE(fs::exists(dir.file("TEMP.BIN")));
  EXPECT_FALSE(platform::RemoveFile(dir.file("TEMP.BIN")));
  EXPECT_FALSE(platform::RemoveFile(dir.file("folder")));
  EXPECT_TRUE(fs::is_directory(dir.file("folder")));
}

// The folder of the kept saves: made once, then found; never made over a file.
TEST(MakeFolder, MakesAMissingFolderAndRefusesWhatIsInTheWay) {
  TempDir dir;
  WriteBytes(dir.file("file"), "x");
  struct Row {
    std::string path;
    bool expected;
  };
  const Row rows[] = {
      {dir.file("saves"), true},
      {dir.file("saves"), true},  // already there
      {dir.file("file"), false},
      {dir.file("missing") + kSeparator + "saves", false},
      {"", false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(platform::MakeFolder(row.path), row.expected) << row.path;
    EXPECT_EQ(fs::is_directory(row.path), row.expected) << row.path;
  }
  EXPECT_EQ(ReadBytes(dir.file("file")), "x");
}

TEST(FolderOf, WhatPrecedesTheFileNameWithTheRootKeptWhole) {
  struct Row {
    const char* path;
    const char* folder;
  };
  const Row rows[] = {
#ifdef _WIN32
      {"c:\\saves\\game.srm", "c:\\saves"},
      {"c:\\game.srm", "c:\\"},
      {"\\\\server\\share\\game.srm", "\\\\server\\share\\"},
#else
      {"/home/me/saves/game.srm", "/home/me/saves"},
      {"/game.srm", "/"},
      {"/home/me/", "/home/me"},
#endif
      {"game.srm", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(platform::FolderOf(row.path), row.folder) << row.path;
}

}  // namespace
