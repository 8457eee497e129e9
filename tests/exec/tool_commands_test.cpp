#include "exec/tool_commands.h"
#include "ui/filesystem.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using exec::RomOptions;

TEST(RomFlags, OnlyTheValueOneAddsAFlagInFixedOrder) {
  struct Case {
    RomOptions options;
    const char* flags;
  };
  const std::vector<Case> cases = {
      {{0, 0, 0, 0}, ""},
      {{1, 1, 1, 1}, "--1991 --chk --gen --pad "},
      {{0, 1, 0, 1}, "--chk --pad "},
      {{2, 2, 2, 2}, ""},  // greyed boxes
      {{1, 2, -1, 1}, "--1991 --pad "},
  };
  for (const Case& c : cases) EXPECT_EQ(exec::RomFlags(c.options), c.flags);
}

TEST(QuotePath, EnclosesThePathAndEscapesNothingElse) {
  struct Case {
    const char* path;
    const char* quoted;
  };
  const std::vector<Case> cases = {
      {"", "\"\""},
      {"/home/me/My Roms/a.bin", "\"/home/me/My Roms/a.bin\""},
      {"C:\\Roms\\a b.bin", "\"C:\\Roms\\a b.bin\""},
      {"it's $HOME;*", "\"it's $HOME;*\""},
#ifdef _WIN32
      {"C:\\", "\"C:\\\\\""},
      {"C:\\Tools\\", "\"C:\\Tools\\\\\""},
#else
      {"C:\\", "\"C:\\\""},
      {"/", "\"/\""},
#endif
  };
  for (const Case& c : cases) EXPECT_EQ(exec::QuotePath(c.path), c.quoted) << c.path;
}

TEST(ToolCommands, BuildEachCommandLineExactly) {
  struct Case {
    const char* name;
    std::string command;
    std::string expected;
  };
  const std::string sep(1, ui::PathSeparator());
  const RomOptions none;
  const RomOptions all{1, 1, 1, 1};
  const RomOptions some{0, 1, 1, 0};
  const std::vector<Case> cases = {
      {"single, no flags", exec::SingleFlashCommand("/roms/a.bin", "378", none),
       "ucon64 --xmd \"/roms/a.bin\" --port=0x378 "},
      {"single, all flags", exec::SingleFlashCommand("/my roms/a.bin", "278", all),
       "ucon64 --xmd \"/my roms/a.bin\" --port=0x278 --1991 --chk --gen --pad "},
      {"single, port as typed", exec::SingleFlashCommand("a.bin", "", some),
       "ucon64 --xmd \"a.bin\" --port=0x --chk --gen "},
      {"multi build, 32",
       exec::MultiBuildCommand("32", {"C:\\Roms\\a.bin", "C:\\My Roms\\b.bin"}, "C:\\Tools\\Telvo"),
       "ucon64 -q --multi=32 multigam.bin \"C:\\Roms\\a.bin\" \"C:\\My Roms\\b.bin\" TEMP.BIN "
       "-o=\"C:\\Tools\\Telvo\""},
      {"multi build, 64",
       exec::MultiBuildCommand("64", {"/r/a.bin", "/r/b.bin", "/r/c.bin"}, "/opt/telvo"),
       "ucon64 -q --multi=64 multigam.bin \"/r/a.bin\" \"/r/b.bin\" \"/r/c.bin\" TEMP.BIN "
       "-o=\"/opt/telvo\""},
      {"multi flash, no flags", exec::MultiFlashCommand("378", none),
       "ucon64 --xmd TEMP.BIN --port=0x378 "},
      {"multi flash, some flags", exec::MultiFlashCommand("3bc", some),
       "ucon64 --xmd TEMP.BIN --port=0x3bc --chk --gen "},
      {"rom fix, copy into the scratch folder",
       exec::RomFixCommand("--1991", "/my roms/a.bin", "/opt/telvo/telvo-prep/1/1991"),
       "ucon64 --1991 \"/my roms/a.bin\" -o=\"/opt/telvo/telvo-prep/1/1991\""},
      {"rom fix, Windows paths", exec::RomFixCommand("--chk", "C:\\Roms\\b.bin", "C:\\T\\chk"),
       "ucon64 --chk \"C:\\Roms\\b.bin\" -o=\"C:\\T\\chk\""},
      {"sram, quoted full path", exec::SramCommand("2", "378", "save.srm", "C:\\Saves"),
       "ucon64 --xmdb=2 --port=0x378 \"C:\\Saves" + sep + "save.srm\" -o=\"C:\\Saves\""},
      {"sram, blanks in name and directory",
       exec::SramCommand("4", "278", "my save.srm", "/home/me/my saves"),
       "ucon64 --xmdb=4 --port=0x278 \"/home/me/my saves" + sep + "my save.srm\" "
       "-o=\"/home/me/my saves\""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.command, c.expected) << c.name;
}

}  // namespace
