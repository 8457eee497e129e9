#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "exec/command_line.h"
#include "exec/process.h"
#include "support/crt_args.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

using testing_support::CrtRuntime;
using testing_support::SplitLikeCrt;

// The Windows line for hostile pieces, given as plain arguments and as paths (always quoted),
// and what the tool's C runtime makes of it again: the same arguments, with either runtime.
TEST(FlattenCommandLine, TheCRuntimeSplitsTheLineBackIntoTheSameArguments) {
  struct Case {
    std::string piece;
    std::string plain;  // how the piece stands on the line as a plain argument
    std::string path;   // and as a path
  };
  const std::vector<Case> cases = {
      {"plain", "plain", R"("plain")"},
      {"", R"("")", R"("")"},
      {" ", R"(" ")", R"(" ")"},
      {"a b", R"("a b")", R"("a b")"},
      {"tab\there", "\"tab\there\"", "\"tab\there\""},
      {R"(")", R"(\")", R"("\"")"},
      {R"("")", R"(\"\")", R"("\"\"")"},
      {R"(a"b)", R"(a\"b)", R"("a\"b")"},
      {R"(a" --xmd "b)", R"("a\" --xmd \"b")", R"("a\" --xmd \"b")"},
      {R"(a\b)", R"(a\b)", R"("a\b")"},
      {R"(\\server\share)", R"(\\server\share)", R"("\\server\share")"},
      {R"(C:\)", R"(C:\)", R"("C:\\")"},
      {R"(C:\Tools\\)", R"(C:\Tools\\)", R"("C:\Tools\\\\")"},
      {R"(a b\)", R"("a b\\")", R"("a b\\")"},
      {R"(a\"b)", R"(a\\\"b)", R"("a\\\"b")"},
      {R"(a\\"b)", R"(a\\\\\"b)", R"("a\\\\\"b")"},
      {R"(\")", R"(\\\")", R"("\\\"")"},
      {"$(rm -rf x)", R"*("$(rm -rf x)")*", R"*("$(rm -rf x)")*"},
      {";", ";", R"(";")"},
      {"`id`|&&>%PATH%", "`id`|&&>%PATH%", R"("`id`|&&>%PATH%")"},
      {"--port=0x378 -o=/tmp", R"("--port=0x378 -o=/tmp")", R"("--port=0x378 -o=/tmp")"},
      {"caf\xC3\xA9 \xFF\xFE", "\"caf\xC3\xA9 \xFF\xFE\"", "\"caf\xC3\xA9 \xFF\xFE\""},
      {"line\nbreak", "line\nbreak", "\"line\nbreak\""},
  };
  for (const Case& c : cases) {
    exec::CommandLine plain;
    plain.add("ucon64").add(c.piece).add("next");
    exec::CommandLine path;
    path.add("ucon64").addPath("", c.piece).addPath("-o=", c.piece).endWithBlank();
    EXPECT_EQ(exec::FlattenCommandLine(plain), "ucon64 " + c.plain + " next") << c.piece;
    EXPECT_EQ(exec::FlattenCommandLine(path), "ucon64 " + c.path + " -o=" + c.path + " ")
        << c.piece;
    for (CrtRuntime runtime : {CrtRuntime::kOlder, CrtRuntime::kNewer}) {
      EXPECT_EQ(SplitLikeCrt(exec::FlattenCommandLine(plain), runtime), plain.args()) << c.piece;
      EXPECT_EQ(SplitLikeCrt(exec::FlattenCommandLine(path), runtime), path.args()) << c.piece;
    }
  }
}

// A path's prefix with a blank in it: the whole argument goes in quotes.
TEST(FlattenCommandLine, APrefixWithABlankQuotesTheWholeArgument) {
  exec::CommandLine line;
  line.add("ucon64").addPath("-o= x\\", "C:\\").addPath("\t", "");
  EXPECT_EQ(exec::FlattenCommandLine(line), R"(ucon64 "-o= x\C:\\" ")" "\t\"");
  EXPECT_EQ(SplitLikeCrt(exec::FlattenCommandLine(line), CrtRuntime::kNewer), line.args());
}

// The program name is read by other rules: quotes only group, nothing is escaped.
TEST(FlattenCommandLine, ProgramNameIsQuotedOnlyWhenItHoldsABlank) {
  struct Case {
    Args args;
    std::string line;
  };
  const std::vector<Case> cases = {
      {{}, ""},
      {{"ucon64"}, "ucon64"},
      {{""}, R"("")"},
      {{R"(C:\Program Files\tool\ucon64.exe)", "x"}, R"("C:\Program Files\tool\ucon64.exe" x)"},
      {{R"(C:\tools\)", "x"}, R"(C:\tools\ x)"},
      {{"/opt/my tools/ucon64"}, R"("/opt/my tools/ucon64")"},
  };
  for (const Case& c : cases) {
    const exec::CommandLine line(c.args);
    EXPECT_EQ(exec::FlattenCommandLine(line), c.line);
    if (c.args.empty()) continue;
    EXPECT_EQ(SplitLikeCrt(c.line, CrtRuntime::kNewer), c.args) << c.line;
  }
}

// The reference itself, on lines written by hand as a user of the tool would type them.
TEST(SplitLikeCrt, FollowsTheCRuntimesRules) {
  struct Case {
    std::string line;
    Args newer;
    Args older;  // where it differs
  };
  const std::vector<Case> cases = {
      {"", {""}, {}},
      {"ucon64   --xmd\t a.bin  ", {"ucon64", "--xmd", "a.bin"}, {}},
      {R"("C:\My Tools\ucon64" -q)", {R"(C:\My Tools\ucon64)", "-q"}, {}},
      {R"(p a\\b a\"b a\\"b c" d)", {"p", R"(a\\b)", R"(a"b)", R"(a\b c)", "d"}, {}},
      {R"(p x"y z"w "")", {"p", "xy zw", ""}, {}},
      {R"(p "a""b c" d)", {"p", R"(a"b c)", "d"}, {"p", R"(a"b)", "c d"}},
      {R"(p "open end)", {"p", "open end"}, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SplitLikeCrt(c.line, CrtRuntime::kNewer), c.newer) << c.line;
    EXPECT_EQ(SplitLikeCrt(c.line, CrtRuntime::kOlder), c.older.empty() ? c.newer : c.older)
        << c.line;
  }
}

#ifndef _WIN32

// Sets PATH for one test and puts the old value back.
class PathGuard {
 public:
  explicit PathGuard(const std::string& path) {
    if (const char* old = std::getenv("PATH")) saved_ = old;
    setenv("PATH", path.c_str(), 1);
  }
  ~PathGuard() {
    if (saved_)
      setenv("PATH", saved_->c_str(), 1);
    else
      unsetenv("PATH");
  }

 private:
  std::optional<std::string> saved_;
};

void MakeProgram(const fs::path& file, bool executable = true) {
  testing_support::WriteBytes(file, "#!/bin/sh\n");
  fs::permissions(
      file, executable ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
}

TEST(FindProgram, ApplicationDirectoryFirstThenPathNeverTheCurrentDirectory) {
  testing_support::TempDir root;
  const fs::path app = root.path() / "app";
  const fs::path first = root.path() / "first";
  const fs::path second = root.path() / "second";
  const fs::path current = root.path() / "current";
  for (const fs::path& dir : {app, first, second, current}) fs::create_directory(dir);
  MakeProgram(app / "both");
  MakeProgram(second / "both");
  MakeProgram(second / "later");
  MakeProgram(first / "plainfile", /*executable=*/false);
  MakeProgram(second / "plainfile");
  fs::create_directory(first / "adir");
  MakeProgram(second / "adir");
  MakeProgram(current / "here");

  testing_support::CurrentDirGuard restoreDir;
  fs::current_path(current);
  PathGuard path(first.string() + "::" + second.string());
  struct Case {
    const char* name;
    std::string appDir;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"both", app.string(), (app / "both").string()},
      {"both", "", (second / "both").string()},
      {"later", app.string(), (second / "later").string()},
      {"plainfile", app.string(), (second / "plainfile").string()},
      {"adir", app.string(), (second / "adir").string()},
      {"here", app.string(), ""},  // the current directory only counts when named
      {"./here", app.string(), "./here"},
      {"/no/such/prog", app.string(), "/no/such/prog"},
      {"missing", app.string(), ""},
      {"", app.string(), ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(exec::FindProgram(c.name, c.appDir), c.expected) << c.name << " in " << c.appDir;
  }
}

TEST(FindProgram, RootApplicationDirectoryIsJoinedWithoutNormalising) {
  PathGuard path("");
  EXPECT_EQ(exec::FindProgram("sh", "/bin/"), "/bin//sh");
}

#endif

}  // namespace
