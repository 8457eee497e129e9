// The cartridge simulator that stands in for ucon64: its reading of the four command lines, and
// whole runs through the runner against a cartridge folder of the test's own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "exec/process.h"
#include "exec/tool_commands.h"
#include "exec_doubles.h"
#include "support/test_support.h"
#include "support/tool_log.h"
#include "tools/sim_command.h"
#include "tools/sim_log.h"

#ifndef _WIN32
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;
using Kind = sim::Command::Kind;
using Args = std::vector<std::string>;

TEST(SimulatorCommand, ReadsTheFourCommandLinesAndRejectsTheRest) {
  struct Case {
    const char* name;
    Args args;
    Kind kind;
  };
  const std::vector<Case> cases = {
      {"flash", {"--xmd", "a.bin", "--port=0x378"}, Kind::Flash},
      {"flash with flags",
       {"--xmd", "a.bin", "--port=0x378", "--1991", "--chk", "--gen", "--pad"},
       Kind::Flash},
      {"flash, one digit port", {"--xmd", "a.bin", "--port=0xA"}, Kind::Flash},
      {"flash, unknown flag", {"--xmd", "a.bin", "--port=0x378", "--fast"}, Kind::Invalid},
      {"flash, no port", {"--xmd", "a.bin"}, Kind::Usage},
      {"flash, empty port", {"--xmd", "a.bin", "--port=0x"}, Kind::Invalid},
      {"flash, five digits", {"--xmd", "a.bin", "--port=0x12345"}, Kind::Invalid},
      {"flash, not hex", {"--xmd", "a.bin", "--port=0x37g"}, Kind::Invalid},
      {"flash, no 0x", {"--xmd", "a.bin", "--port=378"}, Kind::Invalid},
      {"multi",
       {"-q", "--multi=32", "multigam.bin", "a", "b", "TEMP.BIN", "-o=/x"},
       Kind::MultiBuild},
      {"multi, one rom",
       {"-q", "--multi=64", "multigam.bin", "a", "TEMP.BIN", "-o=/x"},
       Kind::MultiBuild},
      {"multi, no rom", {"-q", "--multi=64", "multigam.bin", "TEMP.BIN", "-o=/x"}, Kind::Usage},
      {"multi, bad size",
       {"-q", "--multi=16", "multigam.bin", "a", "TEMP.BIN", "-o=/x"},
       Kind::Invalid},
      {"multi, no -o", {"-q", "--multi=32", "multigam.bin", "a", "b", "TEMP.BIN"}, Kind::Usage},
      {"sram", {"--xmdb=1", "--port=0x378", "s.srm", "-o=/x"}, Kind::Sram},
      {"sram, slot 4", {"--xmdb=4", "--port=0x278", "s.srm", "-o=/x"}, Kind::Sram},
      {"sram, slot 0", {"--xmdb=0", "--port=0x378", "s.srm", "-o=/x"}, Kind::Invalid},
      {"sram, slot 5", {"--xmdb=5", "--port=0x378", "s.srm", "-o=/x"}, Kind::Invalid},
      {"sram, empty slot", {"--xmdb=", "--port=0x378", "s.srm", "-o=/x"}, Kind::Invalid},
      {"sram, name in pieces",
       {"--xmdb=1", "--port=0x378", "my", "save.srm", "-o=/x"},
       Kind::Usage},
      {"sram, bad port", {"--xmdb=1", "--port=0xZ", "s.srm", "-o=/x"}, Kind::Invalid},
      {"nothing", {}, Kind::Usage},
      {"other tool option", {"--help"}, Kind::Usage},
  };
  for (const Case& c : cases) EXPECT_EQ(sim::ParseCommand(c.args).kind, c.kind) << c.name;
}

TEST(SimulatorCommand, KeepsTheValuesOfEachLine) {
  const sim::Command multi = sim::ParseCommand(
      {"-q", "--multi=64", "multigam.bin", "a b", "c", "TEMP.BIN", "-o=/app dir"});
  EXPECT_EQ(multi.sizeMbit, 64);
  EXPECT_EQ(multi.loader, "multigam.bin");
  EXPECT_EQ(multi.roms, (Args{"a b", "c"}));
  EXPECT_EQ(multi.output, "TEMP.BIN");
  EXPECT_EQ(multi.outDir, "/app dir");
  const sim::Command sram = sim::ParseCommand({"--xmdb=3", "--port=0x3bc", "s.srm", "-o=/d"});
  EXPECT_EQ(sram.slot, 3);
  EXPECT_EQ(sram.port, "3bc");
  EXPECT_EQ(sram.file, "s.srm");
  EXPECT_EQ(sram.outDir, "/d");
}

TEST(SimulatorLog, RecordsEachArgumentOnOneLineAndReadsBack) {
  const Args args = {"--xmd", "a\nb", "100%", "C:\\x y\\", ""};
  const std::string log = sim::FormatLogRecord(args, "/cwd", "/home") +
                          sim::FormatLogRecord({}, "/other", nullptr) + "run\narg cut";
  const std::vector<testing_support::ToolRun> runs = testing_support::ParseToolLog(log);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].args, args);
  EXPECT_EQ(runs[0].cwd, "/cwd");
  EXPECT_EQ(runs[0].home, "/home");
  EXPECT_TRUE(runs[1].args.empty());
  EXPECT_FALSE(runs[1].home.has_value());
}

// A console program's line ending: its C library writes "\n" as CR LF on Windows.
#ifdef _WIN32
const std::string kEol = "\r\n";
#else
const std::string kEol = "\n";
#endif

// The simulator's settings for one test; an empty value removes the variable.
void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
  _putenv_s(name, value.c_str());
#else
  if (value.empty()) {
    unsetenv(name);
  } else {
    setenv(name, value.c_str(), 1);
  }
#endif
}

// A cartridge folder, an application folder holding the loader, and the simulator's
// environment, for one test.
class SimulatorRun : public ::testing::Test {
 protected:
  void SetUp() override {
    home_ = root_.path() / "home";
    app_ = root_.path() / "app";
    fs::create_directory(home_);
    fs::create_directory(app_);
    fs::copy_file(fs::path(testing_support::BuildToolsDir()) / "multigam.bin",
                  app_ / "multigam.bin");
    log_ = root_.file("runs.log");
    SetVariable("UCON64_HOME", home_.string());
    SetVariable("TELVO_SIM_KBPS", "0");
    SetVariable("TELVO_SIM_LOG", log_);
  }
  void TearDown() override {
    for (const char* name : {"UCON64_HOME", "TELVO_SIM_KBPS", "TELVO_SIM_LOG"})
      SetVariable(name, "");
  }

  // The tool's output for commandLine, run in the application folder.
  std::string run(const std::string& commandLine) {
    exec_test::FakeTextBox box;
    const std::string folder = app_.string();
    exec::ExecAndCapture(commandLine, box, &folder,
                         exec::RunContext{testing_support::BuildToolsDir(), nullptr});
    return box.content();
  }
  std::string flash() const { return testing_support::ReadBytes(home_ / "telvo-sim-flash.bin"); }
  fs::path rom(const std::string& name, std::size_t size, char fill) {
    const fs::path file = root_.path() / name;
    testing_support::WriteBytes(file, std::string(size, fill));
    return file;
  }

  testing_support::TempDir root_;
  fs::path home_, app_;
  std::string log_;
};

#ifndef _WIN32

// The simulator's exit status for args, its output thrown away.
int ExitStatus(const std::vector<std::string>& args, const fs::path& folder) {
  const std::string program = testing_support::BuildToolsDir() + "/ucon64";
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid = -1;
  const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return -1;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(SimulatorRun, SaysFirstThatNoHardwareIsUsedAndLogsBeforePrinting) {
  const std::string output = run(exec::MultiFlashCommand("378", {1, 0, 0, 1}));
  const std::string banner =
      "Telvo cartridge simulator: no hardware is used, the cartridge is a set of files in " +
      home_.string() + kEol;
  EXPECT_EQ(output.rfind(banner, 0), 0u) << output;
  const auto runs = testing_support::ReadToolLog(log_);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].args, (Args{"--xmd", "TEMP.BIN", "--port=0x378", "--1991", "--pad"}));
  EXPECT_EQ(fs::canonical(runs[0].cwd), fs::canonical(app_));
  EXPECT_EQ(runs[0].home, home_.string());
}

TEST_F(SimulatorRun, FlashWritesAnExistingFileAndReadsIntoAMissingOne) {
  const fs::path image = rom("my game.bin", 100000, 'G');
  const std::string written = run(exec::SingleFlashCommand(image.string(), "378", {0, 1, 0, 0}));
  EXPECT_TRUE(Contains(written, "ROM options: --chk")) << written;
  EXPECT_TRUE(
      Contains(written, "\rWriting: 64 of 98 KiB (65%)\rWriting: 98 of 98 KiB (100%)" + kEol))
      << written;
  const std::string cartridge = flash();
  ASSERT_EQ(cartridge.size(), 8u << 20);
  EXPECT_EQ(cartridge.substr(0, 100000), std::string(100000, 'G'));
  EXPECT_EQ(cartridge.substr(100000), std::string((8u << 20) - 100000, '\xFF'));

  const fs::path dump = root_.path() / "dump.bin";
  run(exec::SingleFlashCommand(dump.string(), "378", {}));
  EXPECT_EQ(testing_support::ReadBytes(dump), cartridge);
}

TEST_F(SimulatorRun, FlashCutsAnImageLargerThanTheCartridge) {
  const fs::path image = rom("big.bin", (8u << 20) + 10, 'B');
  const std::string output = run(exec::SingleFlashCommand(image.string(), "378", {}));
  EXPECT_TRUE(Contains(output, "the last 10 bytes were not written")) << output;
  EXPECT_EQ(flash(), std::string(8u << 20, 'B'));
}

TEST_F(SimulatorRun, MultiBuildPadsEachGameAndCutsOrLeavesOutWhatDoesNotFit) {
  const fs::path a = rom("a.bin", 20000, 'A');
  const fs::path b = rom("b b.bin", 16384, 'B');
  const fs::path huge = rom("huge.bin", 4u << 20, 'H');
  const fs::path missing = root_.path() / "missing.bin";
  const std::string output = run(exec::MultiBuildCommand(
      "32", {a.string(), missing.string(), huge.string(), b.string()}, app_.string()));
  EXPECT_TRUE(Contains(output, "error: cannot read " + missing.string())) << output;
  // 4096 KiB of image: the loader's 64 KiB and a's 32 KiB leave 4000 KiB for huge.bin.
  EXPECT_TRUE(Contains(output, huge.string() +
                                   " (4096 KiB) does not fit into the 32 Mbit image: cut after "
                                   "4000 KiB"))
      << output;
  EXPECT_TRUE(Contains(output, b.string() + " does not fit into the 32 Mbit image: left out"))
      << output;
  const std::string loader = testing_support::ReadBytes(app_ / "multigam.bin");
  ASSERT_EQ(loader.size(), 65536u);
  EXPECT_EQ(loader.rfind("TELVO SIMULATED MULTI-GAME LOADER", 0), 0u);
  const std::string expected = loader + std::string(20000, 'A') +
                               std::string(32768 - 20000, '\xFF') + std::string(4000 << 10, 'H');
  EXPECT_EQ(testing_support::ReadBytes(app_ / "TEMP.BIN"), expected);
}

TEST_F(SimulatorRun, MultiBuildWithoutLoaderOrWithoutAnyGameBuildsNothing) {
  const fs::path a = rom("a.bin", 100, 'A');
  const fs::path missing = root_.path() / "missing.bin";
  struct Case {
    bool loader;
    std::vector<std::string> roms;
    std::string message;
  };
  const std::vector<Case> cases = {
      {false, {a.string()}, "error: cannot read the loader multigam.bin"},
      {true, {missing.string(), missing.string()}, "error: no game could be added: nothing built"},
  };
  const std::string loader = testing_support::ReadBytes(app_ / "multigam.bin");
  for (const Case& c : cases) {
    if (c.loader) testing_support::WriteBytes(app_ / "multigam.bin", loader);
    else fs::remove(app_ / "multigam.bin");
    const std::string output = run(exec::MultiBuildCommand("64", c.roms, app_.string()));
    EXPECT_TRUE(Contains(output, c.message)) << output;
    EXPECT_FALSE(fs::exists(app_ / "TEMP.BIN"));
  }
}

TEST_F(SimulatorRun, SramWritesAnExistingFileToTheSlotAndSavesTheSlotOtherwise) {
  const fs::path saves = root_.path() / "my saves";
  fs::create_directory(saves);
  testing_support::WriteBytes(saves / "game one.srm", std::string(1000, 'S'));
  run(exec::SramCommand("3", "378", "game one.srm", saves.string()));
  const std::string slot = testing_support::ReadBytes(home_ / "telvo-sim-sram3.bin");
  EXPECT_EQ(slot, std::string(1000, 'S') + std::string(32768 - 1000, '\0'));
  // A file larger than a slot fills it and the rest is reported.
  testing_support::WriteBytes(saves / "big.srm", std::string(40000, 'L'));
  const std::string big = run(exec::SramCommand("4", "378", "big.srm", saves.string()));
  EXPECT_TRUE(Contains(big, "the last 7232 bytes were not written")) << big;
  EXPECT_EQ(testing_support::ReadBytes(home_ / "telvo-sim-sram4.bin"), std::string(32768, 'L'));
  EXPECT_EQ(testing_support::ReadBytes(home_ / "telvo-sim-sram1.bin"), std::string(32768, '\0'));

  run(exec::SramCommand("3", "378", "copy.srm", saves.string()));
  EXPECT_EQ(testing_support::ReadBytes(saves / "copy.srm"), slot);
  const auto runs = testing_support::ReadToolLog(log_);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].args,
            (Args{"--xmdb=3", "--port=0x378", (saves / "game one.srm").string(),
                  "-o=" + saves.string()}));
}

TEST_F(SimulatorRun, BadValuesAndUnknownLinesAreReportedWithoutTouchingTheCartridge) {
  struct Case {
    std::string commandLine;
    std::string message;
  };
  const std::vector<Case> cases = {
      {exec::SingleFlashCommand("a.bin", "37x", {}), "error: bad port \"0x37x\""},
      {exec::SramCommand("5", "378", "s.srm", "/tmp"), "error: SRAM slot \"5\" does not exist"},
      {"ucon64 --xmdb=1 --port=0x378 two words -o=/tmp", "usage:"},
      {"ucon64 --rom a.bin", "usage:"},
  };
  for (const Case& c : cases) {
    const std::string output = run(c.commandLine);
    EXPECT_TRUE(Contains(output, c.message)) << c.commandLine << "\n" << output;
  }
  EXPECT_FALSE(fs::exists(home_ / "telvo-sim-flash.bin"));
}

#ifndef _WIN32

TEST_F(SimulatorRun, ExitsWithZeroOnlyWhenEverythingWorked) {
  const std::string image = rom("a.bin", 100, 'A').string();
  const std::string out = "-o=" + app_.string();
  struct Case {
    Args args;
    bool success;
  };
  const std::vector<Case> cases = {
      {{"--xmd", image, "--port=0x378", "--chk"}, true},
      {{"-q", "--multi=32", "multigam.bin", image, "TEMP.BIN", out}, true},
      {{"-q", "--multi=32", "multigam.bin", image, root_.file("missing.bin"), "TEMP.BIN", out},
       false},
      {{"-q", "--multi=32", "no-loader.bin", image, "TEMP.BIN", out}, false},
      {{"--xmdb=2", "--port=0x378", "new.srm", out}, true},
      {{"--xmdb=2", "--port=0x378", "new.srm", "-o=" + root_.file("no-such-folder")}, false},
      {{"--xmd", image, "--port=0x"}, false},
      {{"--xmdb=9", "--port=0x378", "s.srm", out}, false},
      {{"--version"}, false},
      {{}, false},
  };
  for (const Case& c : cases) {
    const int status = ExitStatus(c.args, app_);
    EXPECT_EQ(status == 0, c.success) << ::testing::PrintToString(c.args) << " exit " << status;
  }
}

#endif

}  // namespace
