#include "platform/file_read.h"
#include "platform/file_replace.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#ifndef _WIN32
#include <thread>
#endif

#ifndef _WIN32
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <iostream>
#include <random>

#include "config/settings.h"
#endif

namespace {

namespace fs = std::filesystem;
using platform::ReadWholeFile;
using platform::ReplaceFile;
using platform::TemporaryPrefixFor;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

// The names in dir: whatever a save leaves behind shows up here.
std::set<std::string> Entries(const TempDir& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

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
    EXPECT_EQ(Entries(dir), std::set<std::string>{"TELVO.INI"}) << row.name;
  }
}

TEST(ReplaceFile, WhateverHasTheOldTemporaryNameNeitherStopsSavingNorIsTouched) {
  struct Row {
    const char* name;
    void (*make)(const std::string& path);
  };
  const Row rows[] = {
      {"leftover file", [](const std::string& p) { WriteBytes(p, "half-written junk"); }},
      {"directory",
       [](const std::string& p) {
         fs::create_directory(p);
         WriteBytes(fs::path(p) / "inside", "keep");
       }},
#ifndef _WIN32
      {"FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
      {"symlink", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }},
#endif
  };
  for (const Row& row : rows) {
    TempDir dir;
    std::string target = dir.file("TELVO.INI");
    WriteBytes(target, "old\r\n");
    std::string inTheWay = TemporaryPrefixFor(target);
    row.make(inTheWay);
    auto statusBefore = fs::symlink_status(inTheWay).type();

    ASSERT_TRUE(ReplaceFile(target, "new\r\n")) << row.name;
    EXPECT_EQ(ReadBytes(target), "new\r\n") << row.name;
    EXPECT_EQ(fs::symlink_status(inTheWay).type(), statusBefore) << row.name;
    EXPECT_EQ(Entries(dir), (std::set<std::string>{"TELVO.INI", "TELVO.INI.tmp"})) << row.name;
  }
}

// The shipped Windows compiler has no std::thread; the race is the same on every system.
#ifndef _WIN32
TEST(ReplaceFile, TwoWritersSavingAtOnceNeverLeaveAShortOrEmptyFile) {
  TempDir dir;
  const std::string target = dir.file("TELVO.INI");
  const std::string contents[] = {std::string(300, 'a') + "\r\n", std::string(200, 'b') + "\r\n"};
  WriteBytes(target, contents[0]);
  std::atomic<bool> done{false};
  std::atomic<int> failures{0};
  auto writer = [&](const std::string& bytes) {
    for (int i = 0; i < 150; ++i)
      if (!ReplaceFile(target, bytes)) ++failures;
  };
  std::thread first(writer, contents[0]);
  std::thread second(writer, contents[1]);
  std::set<std::string> seen;
  std::thread reader([&] {
    while (!done) seen.insert(ReadBytes(target));
  });
  first.join();
  second.join();
  done = true;
  reader.join();

  EXPECT_EQ(failures, 0);
  for (const std::string& bytes : seen) {
    EXPECT_TRUE(bytes == contents[0] || bytes == contents[1]) << bytes.size() << " bytes";
  }
  EXPECT_EQ(Entries(dir), std::set<std::string>{"TELVO.INI"});
}

// The program killed at any moment of a save (here a child saving two versions of the settings
// in turn, killed without warning 200 times) leaves TELVO.INI as one complete version or the
// other, never short, empty or mixed.
TEST(ReplaceFile, KilledWhileSavingLeavesTheOldOrTheNewSevenLines) {
  TempDir dir;
  const std::string target = dir.file("TELVO.INI");
  config::SettingsValues changed;
  changed.check[0] = changed.check[3] = 1;
  changed.port = "3bc";
  changed.option32 = true;
  const std::string versions[] = {config::DefaultSettingsText(), config::FormatSettings(changed)};
  ASSERT_NE(versions[0], versions[1]);
  WriteBytes(target, versions[0]);

  std::mt19937 random(20261208);  // the same moments on every run
  std::uniform_int_distribution<int> delayMicroseconds(0, 3000);
  int seen[2] = {0, 0};
  int broken = 0;
  for (int kill = 0; kill < 200; ++kill) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (unsigned i = 0;; ++i) ReplaceFile(target, versions[i % 2]);
    }
    usleep(static_cast<useconds_t>(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string now = ReadBytes(target);
    if (now == versions[0]) {
      ++seen[0];
    } else if (now == versions[1]) {
      ++seen[1];
    } else {
      ++broken;
      ADD_FAILURE() << "after kill " << kill << ": " << now.size() << " bytes";
    }
  }
  std::cout << "killed 200 saves: " << seen[0] << " left the first version, " << seen[1]
            << " the second, " << broken << " anything else\n";
  EXPECT_EQ(broken, 0);
}

#endif  // _WIN32

TEST(ReplaceFile, FreshTemporaryNamesDifferAndStayInTheFolder) {
  std::set<std::string> names;
  for (int i = 0; i < 1000; ++i) {
    std::string name = platform::TemporaryPathFor("dir/TELVO.INI");
    EXPECT_TRUE(name.starts_with("dir/TELVO.INI.tmp")) << name;
    EXPECT_EQ(name.find('/', 4), std::string::npos) << name;
    names.insert(name);
  }
  EXPECT_EQ(names.size(), 1000u);
}

TEST(ReplaceFile, DirectoryInTheWayOfTheTargetIsLeftAndTheTemporaryFileRemoved) {
  TempDir dir;
  std::string target = dir.file("TELVO.INI");
  fs::create_directory(target);
  WriteBytes(fs::path(target) / "inside", "keep");

  EXPECT_FALSE(ReplaceFile(target, "new\r\n"));
  EXPECT_TRUE(fs::is_directory(target));
  EXPECT_EQ(ReadBytes(fs::path(target) / "inside"), "keep");
  EXPECT_EQ(Entries(dir), std::set<std::string>{"TELVO.INI"});
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

TEST(ReadWholeFile, AHugeFileGivesOnlyItsStart) {
  TempDir dir;
  std::string huge(3 * platform::kWholeFileLimit, 'L');
  WriteBytes(dir.file("huge"), huge);
  EXPECT_EQ(ReadWholeFile(dir.file("huge")), huge.substr(0, platform::kWholeFileLimit));
}

#ifndef _WIN32
TEST(ReadFilePart, WhatIsNotARegularFileIsNotReadAndNeverWaitedOn) {
  TempDir dir;
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir.file("zero"));
  WriteBytes(dir.file("rom"), "0123456789");
  fs::create_symlink(dir.file("rom"), dir.file("link"));

  struct Row {
    std::string path;
    std::uint64_t offset;
    std::optional<std::string> expected;
  };
  const Row rows[] = {
      {dir.file("fifo"), 0, std::nullopt},
      {dir.file("zero"), 0, std::nullopt},
      {"/dev/null", 0, std::nullopt},
      {dir.file("rom"), 4, "4567"},
      {dir.file("link"), 8, "89"},
      {dir.file("rom"), 10, ""},
      {dir.file("rom"), 1u << 20, ""},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(platform::ReadFilePart(row.path, row.offset, 4), row.expected) << row.path;
  }
}
#endif

}  // namespace
