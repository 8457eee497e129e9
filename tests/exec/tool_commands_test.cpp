#include "exec/tool_commands.h"
#include "platform/path_text.h"
#include "support/crt_args.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using exec::RomOptions;

using Args = std::vector<std::string>;
using testing_support::CrtRuntime;
using testing_support::SplitLikeCrt;

TEST(RomFlags, OnlyTheValueOneAddsAFlagInFixedOrder) {
  struct Case {
    RomOptions options;
    Args flags;
  };
  const std::vector<Case> cases = {
      {{0, 0, 0, 0}, {}},
      {{1, 1, 1, 1}, {"--1991", "--chk", "--gen", "--pad"}},
      {{0, 1, 0, 1}, {"--chk", "--pad"}},
      {{2, 2, 2, 2}, {}},  // greyed boxes
      {{1, 2, -1, 1}, {"--1991", "--pad"}},
  };
  for (const Case& c : cases) EXPECT_EQ(exec::RomFlags(c.options), c.flags);
}

// Each piece is one argument; the Windows line of plain input is the one the tool has always
// been given, byte for byte (paths in quotes, the flash commands' trailing blank), and the
// tool's C runtime splits any of the lines back into the same arguments.
TEST(ToolCommands, BuildTheFourCommandLinesExactly) {
  struct Case {
    const char* name;
    exec::CommandLine command;
    Args args;
    std::string windowsLine;
  };
  const std::string sep(1, platform::PathSeparator());
  const RomOptions none;
  const RomOptions all{1, 1, 1, 1};
  const RomOptions some{0, 1, 1, 0};
  const std::vector<Case> cases = {
      {"single, no flags", exec::SingleFlashCommand("/roms/a.bin", "378", none),
       {"ucon64", "--xmd", "/roms/a.bin", "--port=0x378"},
       "ucon64 --xmd \"/roms/a.bin\" --port=0x378 "},
      {"single, all flags", exec::SingleFlashCommand("/my roms/a.bin", "278", all),
       {"ucon64", "--xmd", "/my roms/a.bin", "--port=0x278", "--1991", "--chk", "--gen", "--pad"},
       "ucon64 --xmd \"/my roms/a.bin\" --port=0x278 --1991 --chk --gen --pad "},
      {"single, port as typed", exec::SingleFlashCommand("a.bin", "", some),
       {"ucon64", "--xmd", "a.bin", "--port=0x", "--chk", "--gen"},
       "ucon64 --xmd \"a.bin\" --port=0x --chk --gen "},
      {"single, backslashes in path and port",
       exec::SingleFlashCommand("C:\\Roms\\a.bin", "3\\78\\", none),
       {"ucon64", "--xmd", "C:\\Roms\\a.bin", "--port=0x3\\78\\"},
       "ucon64 --xmd \"C:\\Roms\\a.bin\" --port=0x3\\78\\ "},
      {"multi build, 32",
       exec::MultiBuildCommand("32", {"C:\\Roms\\a.bin", "C:\\My Roms\\b.bin"}, "C:\\Tools\\Telvo"),
       {"ucon64", "-q", "--multi=32", "multigam.bin", "C:\\Roms\\a.bin", "C:\\My Roms\\b.bin",
        "TEMP.BIN", "-o=C:\\Tools\\Telvo"},
       "ucon64 -q --multi=32 multigam.bin \"C:\\Roms\\a.bin\" \"C:\\My Roms\\b.bin\" TEMP.BIN "
       "-o=\"C:\\Tools\\Telvo\""},
      {"multi build, 64",
       exec::MultiBuildCommand("64", {"/r/a.bin", "/r/b.bin", "/r/c.bin"}, "/opt/telvo"),
       {"ucon64", "-q", "--multi=64", "multigam.bin", "/r/a.bin", "/r/b.bin", "/r/c.bin",
        "TEMP.BIN", "-o=/opt/telvo"},
       "ucon64 -q --multi=64 multigam.bin \"/r/a.bin\" \"/r/b.bin\" \"/r/c.bin\" TEMP.BIN "
       "-o=\"/opt/telvo\""},
      // A drive root ends with a backslash, which is doubled before the closing quote, as the
      // Windows program has always done.
      {"multi build, drive root", exec::MultiBuildCommand("32", {"D:\\a.bin"}, "D:\\"),
       {"ucon64", "-q", "--multi=32", "multigam.bin", "D:\\a.bin", "TEMP.BIN", "-o=D:\\"},
       "ucon64 -q --multi=32 multigam.bin \"D:\\a.bin\" TEMP.BIN -o=\"D:\\\\\""},
      {"multi flash, no flags", exec::MultiFlashCommand("378", none),
       {"ucon64", "--xmd", "TEMP.BIN", "--port=0x378"}, "ucon64 --xmd TEMP.BIN --port=0x378 "},
      {"multi flash, some flags", exec::MultiFlashCommand("3bc", some),
       {"ucon64", "--xmd", "TEMP.BIN", "--port=0x3bc", "--chk", "--gen"},
       "ucon64 --xmd TEMP.BIN --port=0x3bc --chk --gen "},
      {"rom fix, copy into the scratch folder",
       exec::RomFixCommand("--1991", "/my roms/a.bin", "/opt/telvo/telvo-prep/1/1991"),
       {"ucon64", "--gen", "--1991", "/my roms/a.bin", "-o=/opt/telvo/telvo-prep/1/1991"},
       "ucon64 --gen --1991 \"/my roms/a.bin\" -o=\"/opt/telvo/telvo-prep/1/1991\""},
      {"rom fix, Windows paths", exec::RomFixCommand("--chk", "C:\\Roms\\b.bin", "C:\\T\\chk"),
       {"ucon64", "--gen", "--chk", "C:\\Roms\\b.bin", "-o=C:\\T\\chk"},
       "ucon64 --gen --chk \"C:\\Roms\\b.bin\" -o=\"C:\\T\\chk\""},
      {"sram, quoted full path", exec::SramCommand("2", "378", "save.srm", "C:\\Saves"),
       {"ucon64", "--xmdb=2", "--port=0x378", "C:\\Saves" + sep + "save.srm", "-o=C:\\Saves"},
       "ucon64 --xmdb=2 --port=0x378 \"C:\\Saves" + sep + "save.srm\" -o=\"C:\\Saves\""},
      {"sram, blanks in name and directory",
       exec::SramCommand("4", "278", "my save.srm", "/home/me/my saves"),
       {"ucon64", "--xmdb=4", "--port=0x278", "/home/me/my saves" + sep + "my save.srm",
        "-o=/home/me/my saves"},
       "ucon64 --xmdb=4 --port=0x278 \"/home/me/my saves" + sep + "my save.srm\" "
       "-o=\"/home/me/my saves\""},
      // Typed text that used to change the operation: a save transfer that became a flash
      // write of file b, and a port text that named another output folder.
      {"sram, quotes in the file name", exec::SramCommand("1", "378", "a\" --xmd \"b", "/saves"),
       {"ucon64", "--xmdb=1", "--port=0x378", "/saves" + sep + "a\" --xmd \"b", "-o=/saves"},
       "ucon64 --xmdb=1 --port=0x378 \"/saves" + sep + "a\\\" --xmd \\\"b\" -o=\"/saves\""},
      {"single, blank in the port text", exec::SingleFlashCommand("a.bin", "378 -o=/tmp", none),
       {"ucon64", "--xmd", "a.bin", "--port=0x378 -o=/tmp"},
       "ucon64 --xmd \"a.bin\" \"--port=0x378 -o=/tmp\" "},
      {"sram, quote in the port text", exec::SramCommand("3", "37\"8", "s.srm", "/d"),
       {"ucon64", "--xmdb=3", "--port=0x37\"8", "/d" + sep + "s.srm", "-o=/d"},
       "ucon64 --xmdb=3 --port=0x37\\\"8 \"/d" + sep + "s.srm\" -o=\"/d\""},
      {"multi build, shell text in paths",
       exec::MultiBuildCommand("64", {"$(id);.bin", "x`id`.bin"}, "/a;b"),
       {"ucon64", "-q", "--multi=64", "multigam.bin", "$(id);.bin", "x`id`.bin", "TEMP.BIN",
        "-o=/a;b"},
       "ucon64 -q --multi=64 multigam.bin \"$(id);.bin\" \"x`id`.bin\" TEMP.BIN -o=\"/a;b\""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.command.args(), c.args) << c.name;
    const std::string line = exec::FlattenCommandLine(c.command);
    EXPECT_EQ(line, c.windowsLine) << c.name;
    for (CrtRuntime runtime : {CrtRuntime::kOlder, CrtRuntime::kNewer}) {
      EXPECT_EQ(SplitLikeCrt(line, runtime), c.args) << c.name;
    }
  }
}

// What the user typed in the port box, and the digits the tool is given.
TEST(ToolCommands, APortIsOneToFourHexDigitsOfAtLeast100) {
  const struct {
    const char* typed;
    std::optional<std::string> digits;
  } cases[] = {
      {"378", "378"},         {"0x378", "378"},     {"0X3bc", "3bc"},
      {"  278 ", "278"},      {"\t378\t", "378"},   {"FFFF", "FFFF"},
      {"100", "100"},         {"0x0", std::nullopt}, {"", std::nullopt},
      {"   ", std::nullopt},  {"37 8", std::nullopt}, {"LPT1", std::nullopt},
      {"FF", std::nullopt},   {"0x", std::nullopt},  {"0x0x378", std::nullopt},
      {"10000", std::nullopt}, {"-378", std::nullopt}, {"378h", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(exec::PortDigits(c.typed), c.digits) << c.typed;
}

}  // namespace
