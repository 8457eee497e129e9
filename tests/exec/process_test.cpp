// The runner with real child processes: telvo-test-writer, built beside the tests, plays the
// tool (see tools/test_writer.cpp for its script steps).
#include "exec/process.h"
#include "ui/output_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "exec_doubles.h"
#include "platform/codepage.h"
#include "support/test_support.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using exec_test::FakeWaiter;
using ui::MemoryTextBox;
using Clock = std::chrono::steady_clock;

const std::string kWriter = "telvo-test-writer";

// The test writer with script as its arguments.
exec::CommandLine Writer(std::vector<std::string> script) {
  script.insert(script.begin(), kWriter);
  return exec::CommandLine(std::move(script));
}

exec::RunResult Capture(const exec::CommandLine& commandLine, MemoryTextBox& box,
                        exec::Waiter* events, const std::string* startFolder = nullptr) {
  return ui::ExecAndCapture(commandLine, box, startFolder,
                     exec::RunContext{testing_support::BuildToolsDir(), events});
}

std::string NumberedText(std::size_t n) {
  std::string text;
  for (std::size_t line = 0; text.size() < n; ++line) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "line %07zu\n", line);
    text += buffer;
  }
  text.resize(n);
  return text;
}

// What the child writes, as it reaches the box, with text already standing there kept.
TEST(ExecAndCapture, StreamsOutputAfterTheTextAlreadyInTheBox) {
  struct Case {
    const char* name;
    std::vector<std::string> script;
    std::string before;
    std::string after;
  };
  const std::vector<Case> cases = {
      {"silent child", {"sleep", "100"}, "existing\r\n", "existing\r\n"},
      {"kept text", {"text", "hello"}, "before\n", "before\nhello"},
      {"a lone CR starts its line over", {"text", "a\r\nb\rc"}, "", "a\r\nc"},
      {"more than one read", {"bytes", "100000"}, "", NumberedText(100000)},
      {"interleaved outputs", {"interleave", "3"}, "",
       "out 0\nerr 0\nout 1\nerr 1\nout 2\nerr 2\n"},
      {"error output alone", {"err", "oops"}, "x", "xoops"},
#ifndef _WIN32
      // The command line carries the bytes unchanged only where the ANSI text is UTF-8.
      {"utf-8 split between writes", {"text", "a\xE2\x82", "sleep", "200", "text", "\xAC b"}, "",
       "a\xE2\x82\xAC b"},
#endif
  };
  for (const Case& c : cases) {
    MemoryTextBox box(c.before);
    FakeWaiter events;
    Capture(Writer(c.script), box, &events);
    EXPECT_EQ(box.content(), c.after) << c.name;
    EXPECT_EQ(box.caret(), c.after.size()) << c.name;
    EXPECT_EQ(box.reads(), 0) << c.name;
    EXPECT_EQ(box.assignments(), 0) << c.name;
    EXPECT_GE(events.eventCalls(), 1) << c.name;
  }
}

// How the child ended comes back to the caller, with an event loop and without one.
TEST(ExecAndCapture, TellsHowTheChildEnded) {
  using Ending = exec::RunResult::Ending;
  struct Case {
    const char* name;
    exec::CommandLine commandLine;
    Ending ending;
    int code;
  };
  const std::vector<Case> cases = {
      {"success", Writer({"text", "ok"}), Ending::Exited, 0},
      {"exit code", Writer({"err", "ERROR: no cartridge\n", "exit", "1"}), Ending::Exited, 1},
      {"exit code after closing its output", Writer({"close", "sleep", "100", "exit", "7"}),
       Ending::Exited, 7},
      {"missing program", {"telvo-no-such-program"}, Ending::NotStarted, 0},
#ifdef _WIN32
      // A crash's status is kept as the system gives it.
      {"crash status", Writer({"exit", "3221225622"}), Ending::Exited,
       static_cast<int>(0xC0000096u)},
#else
      {"signal", Writer({"text", "x", "signal", "9"}), Ending::Signalled, 9},
#endif
  };
  for (const Case& c : cases) {
    for (bool withEvents : {true, false}) {
      MemoryTextBox box;
      FakeWaiter events;
      const exec::RunResult result = Capture(c.commandLine, box, withEvents ? &events : nullptr);
      EXPECT_EQ(result.ending, c.ending) << c.name;
      EXPECT_EQ(result.code, c.code) << c.name;
    }
  }
}

TEST(ExecAndCapture, ReadsAtMost10240BytesAtATimeInOrder) {
  MemoryTextBox box;
  FakeWaiter events;
  Capture(Writer({"bytes", "1000000"}), box, &events);
  EXPECT_EQ(box.content(), NumberedText(1000000));
  EXPECT_GE(box.insertions(), 1000000 / 10240);
  EXPECT_GT(events.eventCalls(), box.insertions());  // events before every read, the last one too
}

TEST(ExecAndCapture, WorksWithoutAnEventLoop) {
  MemoryTextBox box;
  Capture(Writer({"bytes", "30000"}), box, /*events=*/nullptr);
  EXPECT_EQ(box.content(), NumberedText(30000));
}

TEST(ExecAndCapture, NextChunkGoesWhereTheUserPutTheCaretOrSelection) {
  struct Case {
    const char* name;
    std::string before;
    std::size_t selStart, selEnd;  // set after the first chunk arrived
    std::string after;
  };
  const std::vector<Case> cases = {
      {"caret moved to the start", "before ", 0, 0, "BBBbefore AAA"},
      {"caret moved inside", "before ", 3, 3, "befBBBore AAA"},
      {"text selected", "keep DROP keep ", 5, 9, "keep BBB keep AAA"},
      {"everything selected", "old ", 0, 100, "BBB"},
  };
  for (const Case& c : cases) {
    MemoryTextBox box(c.before);
    FakeWaiter events;
    bool moved = false;
    events.onEvents = [&](int) {
      if (moved || box.content().find("AAA") == std::string::npos) return;
      box.select(c.selStart, c.selEnd);
      moved = true;
    };
    Capture(Writer({"text", "AAA", "sleep", "300", "text", "BBB"}), box, &events);
    EXPECT_EQ(box.content(), c.after) << c.name;
  }
}

TEST(ExecAndCapture, AnotherRunFromTheEventsCompletesInside) {
  MemoryTextBox outer("");
  MemoryTextBox inner("");
  FakeWaiter events;
  events.onEvents = [&](int call) {
    if (call == 2) Capture(Writer({"text", "inner"}), inner, &events);
  };
  Capture(Writer({"text", "first", "sleep", "200", "text", "second"}), outer, &events);
  EXPECT_EQ(outer.content(), "firstsecond");
  EXPECT_EQ(inner.content(), "inner");
}

TEST(ExecAndCapture, WaitsForAGrandchildThatHoldsTheOutput) {
  MemoryTextBox box;
  FakeWaiter events;
  const auto start = Clock::now();
  Capture(Writer({"text", "child", "grandchild", "400"}), box, &events);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(400));
  EXPECT_EQ(box.content(), "childgrandchild done\n");
}

TEST(ExecAndCapture, ChildReadsEndOfInputAtOnce) {
  MemoryTextBox box;
  FakeWaiter events;
  Capture(Writer({"stdin"}), box, &events);
  EXPECT_EQ(box.content(), "stdin: eof\n");
}

// Whatever a path or the port text holds, each piece reaches the child as one argument,
// exactly: on Windows through the line the C runtime splits again, as a plain piece and as a
// path (always quoted there).
TEST(ExecAndCapture, HostilePiecesReachTheChildAsOneArgumentEach) {
  const std::vector<std::string> pieces = {
      "C:\\", "C:\\Tools\\", "C:\\My Roms\\a b.bin", "/", "/a b/", "", " ", "a  b", "tab\there",
      "\"", "a\"b", "a\" --xmd \"b", "\"quoted\"", "a\\\"b", "a\\\\\"b", "ends\\", "ends\\\\",
      "a b\\", "\\\\server\\share", "$(touch made)", ";", "a;b", "`id`", "|", "&&", "%PATH%",
      "--port=0x378 -o=/tmp", "caf\xC3\xA9", "-o=\"C:\\\"",
#ifndef _WIN32
      "\xFF\xFE raw", "line\nbreak",
#endif
  };
  testing_support::TempDir dir;
  const std::string folder = dir.str();
  for (const std::string& piece : pieces) {
    for (bool asPath : {false, true}) {
      exec::CommandLine line = Writer({"args"});
      if (asPath) {
        line.addPath("", piece).addPath("-o=", piece);
      } else {
        line.add(piece).add("next");
      }
      MemoryTextBox box;
      FakeWaiter events;
      Capture(line, box, &events, &folder);
      const std::string second = asPath ? "-o=" + piece : "next";
      // What the child received comes back through the output box's decoding.
      const std::string echo = "[" + piece + "]\n[" + second + "]\n";
      EXPECT_EQ(box.content(), platform::AnsiToUtf8(platform::Utf8ToAnsi(echo)))
          << piece << (asPath ? " as a path" : "");
    }
  }
  EXPECT_TRUE(fs::is_empty(dir.path())) << "something ran a command of its own";
}

TEST(ExecAndCapture, AnArgumentWithANulByteStartsNothing) {
  MemoryTextBox box("kept\n");
  FakeWaiter events;
  exec::CommandLine line = Writer({"text", "x"});
  line.add(std::string("save.srm\0--xmd", 15));
  Capture(line, box, &events);
  EXPECT_EQ(box.content().rfind("kept\nCannot start \"" + kWriter + "\": ", 0), 0u)
      << box.content();
  EXPECT_EQ(box.content().find("x"), std::string::npos) << "the child ran";
}

TEST(ExecAndCapture, StartFolderIsTheChildsCurrentDirectory) {
  testing_support::TempDir dir;
  const std::string folder = dir.str();
  MemoryTextBox box;
  FakeWaiter events;
  Capture(Writer({"cwd"}), box, &events, &folder);
  EXPECT_EQ(fs::canonical(box.content().substr(0, box.content().size() - 1)),
            fs::canonical(dir.path()));
}

#ifdef _WIN32

// The command line goes to the system in the ANSI code page; a character it cannot hold
// arrives as the code page's replacement character.
TEST(ExecAndCapture, CharactersOutsideTheCodePageArriveAsQuestionMarks) {
  MemoryTextBox box;
  FakeWaiter events;
  // Omega, "café", and a full-width quotation mark that must not end the quoted argument.
  Capture(Writer({"args", "\xCE\xA9 caf\xC3\xA9 \xEF\xBC\x82 x"}), box, &events);
  EXPECT_EQ(box.content(), "[? caf\xC3\xA9 ? x]\n");
}

TEST(ExecAndCapture, ReportsAToolThatCannotBeStartedInOneWindowsLine) {
  MemoryTextBox box("kept\r\n");
  FakeWaiter events;
  Capture({"telvo-no-such-program", "--xmd", "a"}, box, &events);
  const std::string& text = box.content();
  EXPECT_EQ(text.rfind("kept\r\nCannot start \"telvo-no-such-program\": ", 0), 0u) << text;
  const std::string appDir = testing_support::BuildToolsDir();
  EXPECT_NE(text.find("; looked for in the application directory (" + appDir +
                      "), the current directory, the system directories, then the "
                      "directories of PATH: put telvo-no-such-program into " + appDir + "\r\n"),
            std::string::npos)
      << text;
  ASSERT_GE(text.size(), 2u);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);  // one line only
}

#else

std::size_t OpenDescriptors() {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

bool NoChildLeft() { return waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD; }

TEST(ExecAndCapture, ReportsAToolThatCannotBeStartedInOneLine) {
  testing_support::TempDir dir;
  const std::string notExecutable = dir.file("plain.txt");
  testing_support::WriteBytes(notExecutable, "not a program");
  const std::string missingFolder = dir.file("no-such-folder");
  struct Case {
    const char* name;
    exec::CommandLine commandLine;
    const std::string* startFolder;
    std::string line;
  };
  const std::string appDir = testing_support::BuildToolsDir();
  const std::vector<Case> cases = {
      {"not found", {"telvo-no-such-program", "--xmd", "a"}, nullptr,
       "Cannot start \"telvo-no-such-program\": No such file or directory; looked for in the "
       "application directory (" + appDir + "), then the directories of PATH: put "
       "telvo-no-such-program into " + appDir + "\n"},
      {"not found by its path", {dir.file("gone"), "x"}, nullptr,
       "Cannot start \"" + dir.file("gone") + "\": No such file or directory\n"},
      {"not executable", {notExecutable, "x"}, nullptr,
       "Cannot start \"" + notExecutable + "\": Permission denied\n"},
      {"start folder missing", Writer({"text", "x"}), &missingFolder,
       "Cannot start \"" + kWriter + "\": No such file or directory\n"},
      {"empty command line", {}, nullptr, "Cannot start \"\": No such file or directory\n"},
  };
  for (const Case& c : cases) {
    const std::size_t before = OpenDescriptors();
    MemoryTextBox box("kept\n");
    FakeWaiter events;
    Capture(c.commandLine, box, &events, c.startFolder);
    EXPECT_EQ(box.content(), "kept\n" + c.line) << c.name;
    EXPECT_EQ(OpenDescriptors(), before) << c.name;
    EXPECT_TRUE(NoChildLeft()) << c.name;
  }
}

// A child that closes its output and goes on running is waited for, with the windows working,
// since its exit code is the run's outcome; nothing of it is left afterwards.
TEST(ExecAndCapture, AChildThatClosesItsOutputEarlyIsWaitedForAndReaped) {
  MemoryTextBox box;
  FakeWaiter events;
  const exec::RunResult result =
      Capture(Writer({"text", "bye", "close", "sleep", "300", "exit", "5"}), box, &events);
  EXPECT_EQ(box.content(), "bye");
  EXPECT_EQ(result.ending, exec::RunResult::Ending::Exited);
  EXPECT_EQ(result.code, 5);
  EXPECT_TRUE(NoChildLeft());
}

TEST(ExecAndCapture, ChildHasNoInputAndOnlyItsThreeDescriptors) {
  // Our own standard input has data waiting, and a descriptor of ours lacks close-on-exec:
  // neither may reach the child.
  int input[2];
  ASSERT_EQ(pipe(input), 0);
  ASSERT_EQ(write(input[1], "typed", 5), 5);
  const int savedStdin = dup(0);
  dup2(input[0], 0);
  const int stray = open("/dev/null", O_RDONLY);
  ASSERT_GE(stray, 0);
  MemoryTextBox box;
  FakeWaiter events;
  Capture(Writer({"stdin", "fds"}), box, &events);
  dup2(savedStdin, 0);
  for (int fd : {savedStdin, stray, input[0], input[1]}) close(fd);
  EXPECT_EQ(box.content(), "stdin: eof\nfds: 0 1 2\n");
}

TEST(ExecAndCapture, ShellCharactersReachTheToolLiterally) {
  testing_support::TempDir dir;
  const std::string folder = dir.str();
  MemoryTextBox box;
  FakeWaiter events;
  Capture(Writer({"args", ";", "$(touch made)", "|", "*", "'q'", "`id`", ">", "out", "a  b",
                  "%PATH%", "~"}),
          box, &events, &folder);
  EXPECT_EQ(box.content(),
            "[;]\n[$(touch made)]\n[|]\n[*]\n['q']\n[`id`]\n[>]\n[out]\n[a  b]\n[%PATH%]\n[~]\n");
  EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST(ExecAndCapture, FindsTheToolInTheApplicationDirectoryBeforePath) {
  testing_support::TempDir root;
  const fs::path app = root.path() / "app";
  const fs::path onPath = root.path() / "path";
  const fs::path current = root.path() / "current";
  for (const fs::path& dir : {app, onPath, current}) fs::create_directory(dir);
  auto script = [](const fs::path& file, const std::string& says) {
    testing_support::WriteBytes(file, "#!/bin/sh\necho " + says + "\n");
    fs::permissions(file, fs::perms::owner_all);
  };
  script(app / "probe", "from-app");
  script(onPath / "probe", "from-path");
  script(current / "probe", "from-current");
  script(current / "onlyhere", "from-current");

  const std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", (onPath.string() + ":/usr/bin:/bin").c_str(), 1);
  testing_support::CurrentDirGuard restoreDir;
  fs::current_path(current);
  struct Case {
    std::string program;
    std::string appDir;
    std::string output;
  };
  const std::vector<Case> cases = {
      {"probe", app.string(), "from-app\n"},
      {"probe", (root.path() / "empty").string(), "from-path\n"},
      {"onlyhere", app.string(),
       "Cannot start \"onlyhere\": No such file or directory; looked for in the application "
       "directory (" + app.string() + "), then the directories of PATH: put onlyhere into " +
           app.string() + "\n"},
      {"./onlyhere", app.string(), "from-current\n"},
  };
  for (const Case& c : cases) {
    MemoryTextBox box;
    FakeWaiter events;
    ui::ExecAndCapture({c.program}, box, nullptr, exec::RunContext{c.appDir, &events});
    EXPECT_EQ(box.content(), c.output) << c.program << " with " << c.appDir;
  }
  setenv("PATH", savedPath.c_str(), 1);
}

TEST(ExecAndCapture, LeavesNoDescriptorOrZombieAfterManyRuns) {
  const std::size_t before = OpenDescriptors();
  for (int run = 0; run < 500; ++run) {
    MemoryTextBox box;
    FakeWaiter events;
    Capture(Writer({"text", "x"}), box, &events);
    ASSERT_EQ(box.content(), "x") << "run " << run;
  }
  for (int run = 0; run < 20; ++run) {
    MemoryTextBox box;
    Capture({"telvo-no-such-program"}, box, nullptr);
  }
  EXPECT_EQ(OpenDescriptors(), before);
  EXPECT_TRUE(NoChildLeft());
}

#endif

// --- a tool that never ends, and the helpers it leaves ---

// The tool has exited but a helper it started keeps the output open: the helper's output is
// read for a while, then the runner stops reading, says so, and returns how the tool ended.
TEST(ExecAndCapture, OutputAHelperKeepsOpenIsLeftAfterAGraceAndTheRunEnds) {
  MemoryTextBox box;
  FakeWaiter events;
  const exec::RunResult result =
      Capture(Writer({"text", "tool\n", "helper", "600000", "exit", "3"}), box, &events);
  const long helper = testing_support::HelperPid(box.content());
  ASSERT_NE(helper, 0) << box.content();
  EXPECT_EQ(result.ending, exec::RunResult::Ending::Exited);
  EXPECT_EQ(result.code, 3);
  const std::string line =
      std::string(exec::kLeftHolderText) + std::string(exec::kOutputLineEnd);
  ASSERT_GE(box.content().size(), line.size());
  EXPECT_EQ(box.content().substr(box.content().size() - line.size()), line);
  testing_support::EndHelper(helper);
}

// A stop request made while the runner waits ends the tool and everything it started, whether
// the tool is silent, writes without end, or has exited and left a helper holding the output.
TEST(ExecAndCapture, AStopRequestEndsTheToolAndWhatItStarted) {
  const struct {
    const char* name;
    std::vector<std::string> script;
  } cases[] = {
      {"silent", {"helper", "600000", "sleep", "600000"}},
      {"endless output", {"helper", "600000", "flood", "600000"}},
      {"helper left holding the output", {"helper", "600000"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryTextBox box;
    FakeWaiter events;
    exec::StopRequest stop;
    events.onEvents = [&](int) {
      if (testing_support::HelperPid(box.content()) != 0) stop.request();
    };
    const exec::RunResult result =
        ui::ExecAndCapture(Writer(c.script), box, nullptr,
                           exec::RunContext{testing_support::BuildToolsDir(), &events, &stop});
    EXPECT_EQ(result.ending, exec::RunResult::Ending::Stopped);
    const long helper = testing_support::HelperPid(box.content());
    ASSERT_NE(helper, 0);
    EXPECT_TRUE(testing_support::HasEnded(helper));
    testing_support::EndHelper(helper);
  }
}

}  // namespace
