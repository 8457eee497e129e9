#include "app/shell.h"

#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using Clock = std::chrono::steady_clock;

// Points PATH at one folder for the life of the object.
class PathGuard {
 public:
  explicit PathGuard(const std::string& path) {
    const char* old = std::getenv("PATH");
    had_ = old != nullptr;
    if (had_) saved_ = old;
    ::setenv("PATH", path.c_str(), 1);
  }
  ~PathGuard() {
    if (had_) ::setenv("PATH", saved_.c_str(), 1);
    else ::unsetenv("PATH");
  }

 private:
  bool had_ = false;
  std::string saved_;
};

bool NoChildLeft() {
  int status = 0;
  return ::waitpid(-1, &status, WNOHANG) == -1 && errno == ECHILD;
}

bool WaitForFile(const std::string& path) {
  auto deadline = Clock::now() + std::chrono::seconds(10);
  while (Clock::now() < deadline) {
    if (fs::exists(path)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// A stand-in xdg-open that records its arguments (one per line) and where its standard input
// and error point, then lingers like a browser that stays open: until its folder is removed at
// the end of the test, or a minute at most. Only after that does it leave record + ".ended", so
// that file shows that a caller waited for it, however slow the machine.
void WriteRecordingXdgOpen(const TempDir& bin, const std::string& record) {
  std::string script = "#!/bin/sh\n"
                       "{ printf '%s\\n' \"$#\" \"$@\"; readlink /proc/$$/fd/0 /proc/$$/fd/2; }"
                       " > '" + record + ".part'\n"
                       "mv '" + record + ".part' '" + record + "'\n"
                       "i=0\n"
                       "while [ -d '" + bin.str() + "' ] && [ $i -lt 600 ]; do"
                       " sleep 0.1; i=$((i + 1)); done\n"
                       ": > '" + record + ".ended'\n";
  WriteBytes(bin.file("xdg-open"), script);
  fs::permissions(bin.file("xdg-open"), fs::perms::owner_all);
}

TEST(OpenInBrowser, MissingHandlerReturnsAtOnceQuietlyAndLeavesNoChild) {
  TempDir empty;
  PathGuard path(empty.str());

  // A start that fails must not hold the window up; the margin is for a loaded machine.
  auto start = Clock::now();
  app::OpenInBrowser("https://example.invalid/telvo");
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
  EXPECT_TRUE(NoChildLeft());
  EXPECT_TRUE(fs::is_empty(empty.path()));
}

TEST(OpenInBrowser, HandsTheAddressOverAsOneArgumentWithoutAShell) {
  const std::string urls[] = {
      "https://example.invalid/telvo",
      "http://example.invalid/a b;touch pwned $(id) `id` 'q' \"d\"",
  };
  for (const std::string& url : urls) {
    TempDir bin;
    std::string record = bin.file("record");
    WriteRecordingXdgOpen(bin, record);
    PathGuard path(bin.str() + ":/usr/bin:/bin");

    app::OpenInBrowser(url);
    EXPECT_TRUE(NoChildLeft());

    ASSERT_TRUE(WaitForFile(record)) << url;
    EXPECT_FALSE(fs::exists(record + ".ended")) << "waited for the browser";
    EXPECT_EQ(ReadBytes(record), "1\n" + url + "\n/dev/null\n/dev/null\n");
    EXPECT_FALSE(fs::exists(bin.file("pwned")));
  }
}

TEST(OpenInBrowser, BrowserDoesNotHoldTheProgramsPipesOpen) {
  TempDir bin;
  std::string record = bin.file("record");
  WriteRecordingXdgOpen(bin, record);
  PathGuard path(bin.str() + ":/usr/bin:/bin");

  int fds[2];
  ASSERT_EQ(::pipe(fds), 0);  // without close-on-exec, as a careless caller might leave it
  app::OpenInBrowser("https://example.invalid/");
  ASSERT_TRUE(WaitForFile(record));

  // With our write end closed the pipe must break now, not when the browser exits.
  ::close(fds[1]);
  pollfd end = {fds[0], POLLIN, 0};
  ASSERT_EQ(::poll(&end, 1, /*timeout=*/0), 1) << "the browser holds the pipe open";
  char byte = 0;
  EXPECT_EQ(::read(fds[0], &byte, 1), 0);
  ::close(fds[0]);
}

}  // namespace
