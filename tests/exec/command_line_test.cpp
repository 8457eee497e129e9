#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "exec/process.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

TEST(SplitCommandLine, BlanksSeparateQuotesGroupNothingIsEscaped) {
  struct Case {
    const char* line;
    Args args;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"   ", {}},
      {"ucon64", {"ucon64"}},
      {"  ucon64\t --xmd  a.bin ", {"ucon64", "--xmd", "a.bin"}},
      {"ucon64 --xmd \"/my roms/a b.bin\" --port=0x378 ",
       {"ucon64", "--xmd", "/my roms/a b.bin", "--port=0x378"}},
      {"a -o=\"C:\\Tools\\Telvo\"", {"a", "-o=C:\\Tools\\Telvo"}},
      {"a \"C:\\\" b", {"a", "C:\\", "b"}},  // a backslash escapes nothing
      {"a \"\" b", {"a", "", "b"}},
      {"a x\"y z\"w", {"a", "xy zw"}},
      {"a \"open end", {"a", "open end"}},
      {"a ; $(rm -rf x) | * 'q' `id`", {"a", ";", "$(rm", "-rf", "x)", "|", "*", "'q'", "`id`"}},
  };
  for (const Case& c : cases) EXPECT_EQ(exec::SplitCommandLine(c.line), c.args) << c.line;
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
