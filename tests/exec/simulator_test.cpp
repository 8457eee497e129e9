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
#include "tools/sim_cartridge.h"
#include "tools/sim_command.h"
#include "tools/sim_config.h"
#include "tools/sim_log.h"
#include "tools/sim_progress.h"
#include "tools/sim_rom_fix.h"
#include "ui/output_filter.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;
#endif

namespace {

namespace fs = std::filesystem;
using Kind = sim::Command::Kind;
using Args = std::vector<std::string>;

TEST(SimulatorCommand, ReadsOptionsWhereverTheyStandAndRejectsTheRest) {
  struct Case {
    const char* name;
    Args args;
    Kind kind;
  };
  const std::vector<Case> cases = {
      {"flash", {"--xmd", "a.bin", "--port=0x378"}, Kind::Flash},
      {"flash, switches first", {"--port=0x378", "--gen", "a.bin", "--xmd"}, Kind::Flash},
      {"flash with later actions",
       {"--xmd", "a.bin", "--port=0x378", "--1991", "--chk", "--gen", "--pad"},
       Kind::Flash},
      {"flash, one digit port", {"--xmd", "a.bin", "--port=0xA"}, Kind::Flash},
      {"flash, unknown option", {"--xmd", "a.bin", "--port=0x378", "--fast"}, Kind::Invalid},
      {"flash, no port", {"--xmd", "a.bin"}, Kind::Invalid},
      {"flash, no file", {"--xmd", "--port=0x378"}, Kind::Usage},
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
      {"multi, no -o", {"--multi=32", "multigam.bin", "a", "b", "TEMP.BIN"}, Kind::MultiBuild},
      {"sram", {"--xmdb=1", "--port=0x378", "s.srm", "-o=/x"}, Kind::Sram},
      {"sram, no -o", {"--xmdb=4", "--port=0x278", "s.srm"}, Kind::Sram},
      {"sram, slot 0", {"--xmdb=0", "--port=0x378", "s.srm", "-o=/x"}, Kind::Invalid},
      {"sram, slot 5", {"--xmdb=5", "--port=0x378", "s.srm", "-o=/x"}, Kind::Invalid},
      {"sram, empty slot", {"--xmdb=", "--port=0x378", "s.srm", "-o=/x"}, Kind::Invalid},
      {"sram, name in pieces",
       {"--xmdb=1", "--port=0x378", "my", "save.srm", "-o=/x"},
       Kind::Usage},
      {"sram, bad port", {"--xmdb=1", "--port=0xZ", "s.srm", "-o=/x"}, Kind::Invalid},
      {"fix unlicensed", {"--1991", "a.bin", "-o=/x"}, Kind::Fix},
      {"pad, no -o", {"--pad", "a.bin"}, Kind::Fix},
      {"checksum, file first", {"a.bin", "--chk"}, Kind::Fix},
      {"fix, two files", {"--chk", "a.bin", "b.bin"}, Kind::Usage},
      {"nothing", {}, Kind::Usage},
      {"other tool option", {"--help"}, Kind::Invalid},
      {"files only", {"a.bin"}, Kind::Usage},
  };
  for (const Case& c : cases) EXPECT_EQ(sim::ParseCommand(c.args).kind, c.kind) << c.name;
}

TEST(SimulatorCommand, KeepsTheValuesAndTheActionsThatDoNotRun) {
  const sim::Command multi = sim::ParseCommand(
      {"-q", "--multi=64", "multigam.bin", "a b", "c", "TEMP.BIN", "-o=/app dir"});
  EXPECT_EQ(multi.sizeMbit, 64);
  EXPECT_TRUE(multi.quiet);
  EXPECT_EQ(multi.loader, "multigam.bin");
  EXPECT_EQ(multi.roms, (Args{"a b", "c"}));
  EXPECT_EQ(multi.output, "TEMP.BIN");
  EXPECT_EQ(multi.outDir, "/app dir");
  const sim::Command sram = sim::ParseCommand({"--xmdb=3", "--port=0x3bc", "s.srm", "-o=/d"});
  EXPECT_EQ(sram.slot, 3);
  EXPECT_EQ(sram.port, "3bc");
  EXPECT_EQ(sram.file, "s.srm");
  const sim::Command flash =
      sim::ParseCommand({"--xmd", "a.bin", "--chk", "--port=0x378", "--gen", "--pad"});
  EXPECT_EQ(flash.action, "--xmd");
  EXPECT_EQ(flash.notRun, (Args{"--chk", "--pad"}));
  EXPECT_TRUE(flash.genesis);
  EXPECT_EQ(flash.port, "378");
  const sim::Command fix = sim::ParseCommand({"--pad", "--chk", "r.bin"});
  EXPECT_EQ(fix.action, "--pad");
  EXPECT_EQ(fix.notRun, (Args{"--chk"}));
  EXPECT_FALSE(fix.outDir.has_value());
  EXPECT_EQ(sim::ParseCommand({"--xmd", "a", "--port=0xq"}).exitCode, 1) << "a port failure";
}

// A ROM of size bytes with a recognisable body; the header area is left as the body is.
std::string RomBytes(std::size_t size) {
  std::string rom(size, '\0');
  for (std::size_t i = 0; i < size; ++i) rom[i] = static_cast<char>(i * 13 + 1);
  return rom;
}

TEST(SimulatorRomFix, EachFixChangesWhatItNamesAndNothingElse) {
  struct Case {
    const char* action;
    std::size_t size;
    bool made;
    std::size_t newSize;
  };
  const std::vector<Case> cases = {
      {"--pad", 100, true, 131072},        {"--pad", 131072, true, 131072},
      {"--pad", 131073, true, 262144},     {"--pad", 0, true, 0},
      {"--1991", 0x200, true, 0x200},      {"--1991", 0x1FF, false, 0x1FF},
      {"--chk", 0x201, true, 0x201},       {"--chk", 100, false, 100},
  };
  for (const Case& c : cases) {
    const std::string original = RomBytes(c.size);
    std::string rom = original;
    std::string error;
    EXPECT_EQ(sim::ApplyRomFix(c.action, rom, error), c.made) << c.action << " " << c.size;
    ASSERT_EQ(rom.size(), c.newSize) << c.action << " " << c.size;
    if (!c.made) {
      EXPECT_EQ(rom, original);
      EXPECT_NE(error.find("too few"), std::string::npos) << error;
      continue;
    }
    const std::string action = c.action;
    if (action == "--pad") {
      EXPECT_EQ(rom, original + std::string(c.newSize - c.size, '\0'));
    } else if (action == "--1991") {
      EXPECT_EQ(rom.substr(0x100, 16), "SEGA GENESIS    ");
      EXPECT_EQ(rom.substr(0, 0x100) + rom.substr(0x110), original.substr(0, 0x100) + original.substr(0x110));
    } else {
      EXPECT_EQ(rom.substr(0, 0x18E) + rom.substr(0x190), original.substr(0, 0x18E) + original.substr(0x190));
    }
  }
}

TEST(SimulatorRomFix, ChecksumIsTheBigEndianWordSumFromTheEndOfTheHeader) {
  std::string rom(0x200, '\xAA');  // the header does not count
  rom += std::string("\x12\x34\xFF\xFF\x00\x02\x80", 7);  // a last odd byte is a high byte
  // 0x1234 + 0xFFFF + 0x0002 + 0x8000 = 0x19235, kept to 16 bits.
  EXPECT_EQ(sim::GenesisChecksum(rom), 0x9235);
  std::string error;
  ASSERT_TRUE(sim::ApplyRomFix("--chk", rom, error));
  EXPECT_EQ(rom.substr(0x18E, 2), "\x92\x35");
  EXPECT_EQ(sim::GenesisChecksum(std::string(0x200, '\x01')), 0);
}

TEST(SimulatorConfig, ReadsTheVersionLine) {
  const std::vector<std::pair<std::string, std::optional<int>>> cases = {
      {"version = 207\r\nbackups = 1\r\n", 207},
      {"backups = 1\nversion=211\n", 211},
      {"# version = 300\nversion = 199\n", 199},
      {"versions = 300\n", std::nullopt},
      {"", std::nullopt},
      {"version = abc\n", 0},
  };
  for (const auto& [text, version] : cases) EXPECT_EQ(sim::ConfigVersion(text), version) << text;
  EXPECT_EQ(sim::ConfigVersion(sim::NewConfigText()), sim::kConfigVersion);
}

TEST(SimulatorProgress, OneLineOfTheTerminalsShape) {
  EXPECT_EQ(sim::ProgressLine(1048576, 2097152, 123456, 8),
            "\r   1048576 Bytes [============------------]  50%, BPS=123456, ETA=00:08");
  EXPECT_EQ(sim::ProgressLine(16384, 8u << 20, 153600, 54),
            "\r     16384 Bytes [------------------------]   0%, BPS=153600, ETA=00:54");
  EXPECT_EQ(sim::ProgressLine(100, 100, 1000, 0),
            "\r       100 Bytes [========================] 100%, BPS=1000, ETA=00:00");
  EXPECT_EQ(sim::ProgressLine(0, 0, 0, 100000).substr(58), "ETA=99:59");
  EXPECT_LE(sim::ProgressLine(8u << 20, 8u << 20, 153600, 0).size(), 75u);
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
    for (const char* name : {"UCON64_HOME", "TELVO_SIM_KBPS", "TELVO_SIM_LOG",
                             "TELVO_SIM_FAIL_CONFIG_UPDATE", "TELVO_SIM_NO_CARTRIDGE",
                             "TELVO_SIM_NO_ROOT", "TELVO_SIM_PRIVILEGED_INSTRUCTION",
                             "TELVO_SIM_CORRUPT_WRITE"})
      SetVariable(name, "");
  }

  // The tool's output for commandLine, run in the application folder.
  std::string run(const exec::CommandLine& commandLine) {
    ui::MemoryTextBox box;
    const std::string folder = app_.string();
    ui::ExecAndCapture(commandLine, box, &folder,
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

struct Separate {
  int status = -1;  // the exit code; -1 when a signal ended the run
  int signal = 0;
  std::string out;
  std::string err;
};

// The simulator run with args in folder, its standard output and standard error kept apart.
Separate RunSeparately(const std::vector<std::string>& args, const fs::path& folder,
                       const fs::path& scratch) {
  const std::string program = testing_support::BuildToolsDir() + "/ucon64";
  const std::string outFile = (scratch / "stdout.txt").string();
  const std::string errFile = (scratch / "stderr.txt").string();
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0600);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  pid_t pid = -1;
  const int error = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  Separate result;
  if (error != 0) return result;
  int status = 0;
  waitpid(pid, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
  result.out = testing_support::ReadBytes(outFile);
  result.err = testing_support::ReadBytes(errFile);
  return result;
}

#endif

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// The Genesis loader the simulator's build accepts, as the build directory holds it.
std::string Loader() {
  return testing_support::ReadBytes(fs::path(testing_support::BuildToolsDir()) / "multigam.bin");
}

TEST(SimulatorLoader, IsA128KiBGenesisImageWithACorrectChecksum) {
  const std::string loader = Loader();
  ASSERT_EQ(loader.size(), 131072u);
  EXPECT_EQ(loader.substr(0x100, 4), "SEGA");
  EXPECT_TRUE(sim::IsGenesisLoader(loader));
  const std::uint16_t sum = sim::GenesisChecksum(loader);
  EXPECT_EQ(loader.substr(0x18E, 2), std::string({static_cast<char>(sum >> 8),
                                                   static_cast<char>(sum & 0xFF)}));
  EXPECT_FALSE(sim::IsGenesisLoader(loader.substr(0, 65536)));
  EXPECT_FALSE(sim::IsGenesisLoader(std::string(131072, '\0')));
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
  const std::string written = run(exec::SingleFlashCommand(image.string(), "378", {0, 0, 1, 0}));
  EXPECT_TRUE(Contains(written, "Port 0x378, flash cartridge, Genesis/MD format enforced"))
      << written;
  // The progress line is rewritten in place: the box shows its last state, 100% and ended.
  EXPECT_FALSE(Contains(written, "16%")) << written;
  EXPECT_TRUE(Contains(written, kEol + "    100000 Bytes [========================] 100%, BPS="))
      << written;
  EXPECT_TRUE(Contains(written, "ETA=00:00" + kEol + "Done: 98 KiB written")) << written;
#ifndef _WIN32
  // As the tool writes it: a line every 16 KiB, each after a carriage return.
  const Separate raw =
      RunSeparately({"--xmd", image.string(), "--port=0x378", "--gen"}, app_, root_.path());
  EXPECT_TRUE(Contains(raw.out, "\r     16384 Bytes [===---------------------]  16%, BPS="))
      << raw.out;
  EXPECT_TRUE(Contains(raw.out, "\r    100000 Bytes [========================] 100%, BPS="))
      << raw.out;
#endif
  const std::string cartridge = flash();
  ASSERT_EQ(cartridge.size(), 8u << 20);
  EXPECT_EQ(cartridge.substr(0, 100000), std::string(100000, 'G'));
  EXPECT_EQ(cartridge.substr(100000), std::string((8u << 20) - 100000, '\xFF'));

  const fs::path dump = root_.path() / "dump.bin";
  run(exec::SingleFlashCommand(dump.string(), "378", {}));
  EXPECT_EQ(testing_support::ReadBytes(dump), cartridge);
}

TEST_F(SimulatorRun, ActionsAfterTheTransferDoNotRunAndTheRunSaysSo) {
  const std::string original(4096, 'R');
  const fs::path image = root_.path() / "game.bin";
  testing_support::WriteBytes(image, original);
  const std::string output = run(exec::SingleFlashCommand(image.string(), "378", {1, 1, 1, 1}));
  for (const char* action : {"--1991", "--chk", "--pad"}) {
    EXPECT_TRUE(Contains(output, std::string("NOTE: ") + action +
                                     " was not run: options after --xmd are not processed"))
        << output;
  }
  EXPECT_TRUE(Contains(output, "Genesis/MD format enforced")) << output;
  EXPECT_EQ(flash().substr(0, 4096), original) << "written as it is";
  EXPECT_EQ(testing_support::ReadBytes(image), original);
  EXPECT_FALSE(fs::exists(app_ / "game.bin"));
  EXPECT_FALSE(fs::exists(root_.path() / "game.bak"));
}

TEST_F(SimulatorRun, FlashCutsAnImageLargerThanTheCartridge) {
  const fs::path image = rom("big.bin", (8u << 20) + 10, 'B');
  const std::string output = run(exec::SingleFlashCommand(image.string(), "378", {}));
  EXPECT_TRUE(Contains(output, "the last 10 bytes were not written")) << output;
  EXPECT_EQ(flash(), std::string(8u << 20, 'B'));
}

TEST_F(SimulatorRun, EachRomFixWritesACopyIntoTheOutputFolderAndKeepsAnOldOne) {
  const std::string original = RomBytes(0x300);
  const fs::path source = root_.path() / "my game.bin";
  testing_support::WriteBytes(source, original);
  const fs::path scratch = root_.path() / "scratch dir";
  fs::create_directory(scratch);
  struct Case {
    const char* action;
    bool withOutDir;
  };
  for (const Case& c : {Case{"--1991", true}, Case{"--pad", true}, Case{"--chk", false}}) {
    const fs::path folder = c.withOutDir ? scratch : app_;
    testing_support::WriteBytes(folder / "my game.bin", "an older copy");
    exec::CommandLine commandLine{"ucon64", c.action, source.string()};
    if (c.withOutDir) commandLine.add("-o=" + scratch.string());
    const std::string output = run(commandLine);
    std::string expected = original;
    std::string error;
    ASSERT_TRUE(sim::ApplyRomFix(c.action, expected, error));
    EXPECT_EQ(testing_support::ReadBytes(folder / "my game.bin"), expected) << c.action << output;
    EXPECT_EQ(testing_support::ReadBytes(folder / "my game.bak"), "an older copy") << c.action;
    EXPECT_EQ(testing_support::ReadBytes(source), original) << "the original is never written";
  }
  // Only the first of several fixes is made, and the run says which did not run.
  fs::remove(scratch / "my game.bin");
  const std::string output =
      run({"ucon64", "--pad", "--chk", source.string(), "-o=" + scratch.string()});
  EXPECT_TRUE(Contains(output, "NOTE: --chk was not run")) << output;
  EXPECT_EQ(testing_support::ReadBytes(scratch / "my game.bin"),
            original + std::string(131072 - 0x300, '\0'));
  // A ROM too short for a header leaves no copy.
  const fs::path tiny = rom("tiny.bin", 16, 'T');
  const std::string refused = run({"ucon64", "--chk", tiny.string(), "-o=" + scratch.string()});
  EXPECT_TRUE(Contains(refused, "ERROR: ")) << refused;
  EXPECT_FALSE(fs::exists(scratch / "tiny.bin"));
}

TEST_F(SimulatorRun, MultiBuildPadsEachGameAndCutsOrLeavesOutWhatDoesNotFit) {
  const fs::path a = rom("a.bin", 20000, 'A');
  const fs::path b = rom("b b.bin", 16384, 'B');
  const fs::path huge = rom("huge.bin", 4u << 20, 'H');
  const fs::path missing = root_.path() / "missing.bin";
  testing_support::WriteBytes(app_ / "TEMP.BIN", "an earlier image");
  const std::string output = run(exec::MultiBuildCommand(
      "32", {a.string(), missing.string(), huge.string(), b.string()}, app_.string()));
  EXPECT_FALSE(Contains(output, "missing.bin")) << "a missing game is skipped without a word";
  // 4096 KiB of image: the loader's 128 KiB and a's 32 KiB leave 3936 KiB for huge.bin.
  EXPECT_TRUE(Contains(output, "WARNING: " + huge.string() +
                                   " (4096 KiB) does not fit into the 32 Mbit image: cut after "
                                   "3936 KiB"))
      << output;
  EXPECT_TRUE(Contains(output, "WARNING: " + b.string() +
                                   " does not fit into the 32 Mbit image: left out"))
      << output;
  const std::string expected = Loader() + std::string(20000, 'A') +
                               std::string(32768 - 20000, '\xFF') + std::string(3936 << 10, 'H');
  EXPECT_EQ(testing_support::ReadBytes(app_ / "TEMP.BIN"), expected);
  EXPECT_EQ(testing_support::ReadBytes(app_ / "TEMP.bak"), "an earlier image");
}

TEST_F(SimulatorRun, MultiBuildTakesAtMost31Games) {
  std::vector<std::string> roms;
  for (int i = 0; i < 33; ++i) {
    roms.push_back(rom("g" + std::to_string(i) + ".bin", 100, static_cast<char>('a' + i % 26))
                       .string());
  }
  const std::string output = run(exec::MultiBuildCommand("64", roms, app_.string()));
  EXPECT_TRUE(Contains(output, "WARNING: " + roms[31] + " left out: an image holds at most 31"))
      << output;
  EXPECT_TRUE(Contains(output, "WARNING: " + roms[32] + " left out")) << output;
  EXPECT_EQ(testing_support::ReadBytes(app_ / "TEMP.BIN").size(), 131072u + 31 * 16384u);
}

TEST_F(SimulatorRun, MultiBuildWithAWrongMissingOrNoGameLoaderNeverMakesAGenesisImage) {
  const fs::path a = rom("a.bin", 100, 'A');
  const fs::path missing = root_.path() / "missing.bin";
  const std::string good = Loader();
  std::string noHeader = good;
  noHeader.replace(0x100, 4, "ABCD");
  struct Case {
    const char* name;
    std::optional<std::string> loader;  // nullopt: none
    std::vector<std::string> roms;
    std::string message;
    bool built;
  };
  const std::vector<Case> cases = {
      {"none", std::nullopt, {a.string()}, "ERROR: cannot read the loader multigam.bin", false},
      {"64 KiB", good.substr(0, 65536), {a.string()}, "WARNING: multigam.bin is not a 128 KiB "
                                                      "Genesis loader", true},
      {"no header", noHeader, {a.string()}, "another console's format", true},
      {"no game", good, {missing.string(), missing.string()},
       "WARNING: no game could be added: nothing built", false},
  };
  for (const Case& c : cases) {
    fs::remove(app_ / "TEMP.BIN");
    if (c.loader) testing_support::WriteBytes(app_ / "multigam.bin", *c.loader);
    else fs::remove(app_ / "multigam.bin");
    const std::string output = run(exec::MultiBuildCommand("64", c.roms, app_.string()));
    EXPECT_TRUE(Contains(output, c.message)) << c.name << "\n" << output;
    ASSERT_EQ(fs::exists(app_ / "TEMP.BIN"), c.built) << c.name;
    if (!c.built) continue;
    const std::string image = testing_support::ReadBytes(app_ / "TEMP.BIN");
    EXPECT_NE(image.substr(0x100, 4), "SEGA") << c.name;
    EXPECT_NE(image.find(std::string(100, 'A')), std::string::npos) << c.name;
  }
}

// The SRAM command line with the file argument exactly as given, bare name or full path.
exec::CommandLine SramLine(std::string_view slot, std::string_view port, const std::string& file,
                           const std::string& folder) {
  return {"ucon64", "--xmdb=" + std::string(slot), "--port=0x" + std::string(port), file,
          "-o=" + folder};
}

TEST_F(SimulatorRun, SramUsesTheFileAsGivenRelativeToTheCurrentDirectory) {
  const fs::path saves = root_.path() / "my saves";
  fs::create_directory(saves);
  testing_support::WriteBytes(saves / "game one.srm", std::string(1000, 'S'));
  // A full path is used as it stands.
  run(SramLine("3", "378", (saves / "game one.srm").string(), saves.string()));
  const std::string slot = testing_support::ReadBytes(home_ / "telvo-sim-sram3.bin");
  EXPECT_EQ(slot, std::string(1000, 'S') + std::string(32768 - 1000, '\0'));
  // A bare name is looked for in the current directory (the application folder), whatever
  // "-o=" says: the stale file there is sent, the one in the folder named is not.
  testing_support::WriteBytes(app_ / "game one.srm", std::string(500, 'X'));
  run(SramLine("2", "378", "game one.srm", saves.string()));
  EXPECT_EQ(testing_support::ReadBytes(home_ / "telvo-sim-sram2.bin").substr(0, 500),
            std::string(500, 'X'));
  // A file larger than a slot fills it and the rest is reported.
  testing_support::WriteBytes(saves / "big.srm", std::string(40000, 'L'));
  const std::string big =
      run(SramLine("4", "378", (saves / "big.srm").string(), saves.string()));
  EXPECT_TRUE(Contains(big, "the last 7232 bytes were not written")) << big;
  EXPECT_EQ(testing_support::ReadBytes(home_ / "telvo-sim-sram4.bin"), std::string(32768, 'L'));
  EXPECT_EQ(testing_support::ReadBytes(home_ / "telvo-sim-sram1.bin"), std::string(32768, '\0'));
  // A missing file receives the slot: a bare name in the current directory.
  run(SramLine("3", "378", "copy.srm", saves.string()));
  EXPECT_EQ(testing_support::ReadBytes(app_ / "copy.srm"), slot);
  EXPECT_FALSE(fs::exists(saves / "copy.srm"));
  run(SramLine("3", "378", (saves / "copy 2.srm").string(), saves.string()));
  EXPECT_EQ(testing_support::ReadBytes(saves / "copy 2.srm"), slot);
}

TEST_F(SimulatorRun, AnOldConfigurationIsUpdatedOnceAndACurrentOneIsLeftAlone) {
  const fs::path rc = home_ / ".ucon64rc";
  const std::string current = "version = 211\r\nbackups = 1\r\nparport = 378\r\n";
  testing_support::WriteBytes(rc, current);
  const std::string quiet = run(exec::SingleFlashCommand("dump.bin", "378", {}));
  EXPECT_EQ(testing_support::ReadBytes(rc), current);
  EXPECT_FALSE(fs::exists(home_ / ".ucon64rc.old"));
  EXPECT_FALSE(Contains(quiet, "NOTE:")) << quiet;

  const std::string old = "version = 207\r\nbackups = 1\r\n";
  testing_support::WriteBytes(rc, old);
  SetVariable("TELVO_SIM_FAIL_CONFIG_UPDATE", "1");
  const fs::path image = rom("a.bin", 100, 'A');
  const std::string failed = run(exec::SingleFlashCommand(image.string(), "378", {}));
  EXPECT_TRUE(Contains(failed, "ERROR: the configuration")) << failed;
  EXPECT_EQ(flash().substr(0, 100), std::string(100, '\xFF')) << "nothing was done";
  EXPECT_EQ(testing_support::ReadBytes(rc), old);

  SetVariable("TELVO_SIM_FAIL_CONFIG_UPDATE", "");
  const std::string updated = run(exec::SingleFlashCommand(image.string(), "378", {}));
  EXPECT_TRUE(Contains(updated, "NOTE: the configuration")) << updated;
  EXPECT_EQ(testing_support::ReadBytes(home_ / ".ucon64rc.old"), old);
  EXPECT_EQ(testing_support::ReadBytes(rc), sim::NewConfigText());
  EXPECT_EQ(flash().substr(0, 100), std::string(100, 'A')) << "the run went on";
}

TEST_F(SimulatorRun, BadValuesAndUnknownLinesAreReportedWithoutTouchingTheCartridge) {
  struct Case {
    exec::CommandLine commandLine;
    std::string message;
  };
  const std::vector<Case> cases = {
      {exec::SingleFlashCommand("a.bin", "37x", {}), "ERROR: bad port \"0x37x\""},
      {exec::SramCommand("5", "378", "s.srm", "/tmp"), "ERROR: SRAM slot \"5\" does not exist"},
      {{"ucon64", "--xmdb=1", "--port=0x378", "two", "words", "-o=/tmp"}, "usage"},
      {{"ucon64", "--rom", "a.bin"}, "ERROR: unknown option \"--rom\""},
  };
  for (const Case& c : cases) {
    const std::string output = run(c.commandLine);
    EXPECT_TRUE(Contains(output, c.message)) << c.commandLine.args()[1] << "\n" << output;
  }
  EXPECT_FALSE(fs::exists(home_ / "telvo-sim-flash.bin"));
}

// Typed text that once changed the operation: each piece arrives whole, so a save transfer
// stays one, the port text names no output folder, and shell text is never run.
TEST_F(SimulatorRun, HostileNamesAndPortTextArriveAsOneArgumentEach) {
  const fs::path saves = root_.path() / "saves";
  fs::create_directory(saves);
  testing_support::WriteBytes(root_.path() / "b", std::string(1000, 'B'));
  struct Case {
    const char* name;
    exec::CommandLine command;
  };
  const std::vector<Case> cases = {
      {"quotes in the SRAM file name",
       exec::SramCommand("1", "378", "a\" --xmd \"" + (root_.path() / "b").string(),
                         saves.string())},
      {"blank in the port text", exec::SingleFlashCommand("b", "378 -o=/tmp", {})},
      {"shell text in paths",
       exec::MultiBuildCommand("64", {"$(touch made);x.bin", "`touch made`"}, "a\\\" b")},
      {"backslashes before quotes", exec::SramCommand("2", "378\\\"", "x\\\\\"", saves.string())},
  };
  for (const Case& c : cases) {
    fs::remove(log_);
    run(c.command);
    const auto runs = testing_support::ReadToolLog(log_);
    ASSERT_EQ(runs.size(), 1u) << c.name;
    EXPECT_EQ(runs[0].args, Args(c.command.args().begin() + 1, c.command.args().end())) << c.name;
  }
  // Every run makes sure an (erased) cartridge is there; none may have written file b to it.
  EXPECT_EQ(flash().find(std::string(1000, 'B')), std::string::npos) << "file b was flashed";
  EXPECT_FALSE(fs::exists(app_ / "made"));
  EXPECT_FALSE(fs::exists(root_.path() / "made"));
}

#ifndef _WIN32

TEST_F(SimulatorRun, ExitCodesAndStreamsFollowTheTool) {
  const std::string image = rom("a.bin", 100, 'A').string();
  const std::string out = "-o=" + app_.string();
  fs::path scratch = root_.path() / "streams";
  fs::create_directory(scratch);
  struct Case {
    const char* name;
    Args args;
    int status;
    std::string out;  // a part of standard output
    std::string err;  // a part of standard error; empty: nothing there
  };
  const std::vector<Case> cases = {
      {"flash", {"--xmd", image, "--port=0x378", "--chk"}, 0, "100%", "NOTE: --chk was not run"},
      {"build", {"-q", "--multi=32", "multigam.bin", image, "TEMP.BIN", out}, 0, "Wrote", ""},
      {"missing game", {"-q", "--multi=32", "multigam.bin", image, root_.file("missing.bin"),
                        "TEMP.BIN", out}, 0, "Wrote", ""},
      {"missing loader", {"-q", "--multi=32", "no-loader.bin", image, "TEMP.BIN", out}, 0, "",
       "ERROR: cannot read the loader"},
      {"wrong loader", {"-q", "--multi=32", image, image, "TEMP.BIN", out}, 0,
       "WARNING: " + image, ""},
      {"sram", {"--xmdb=2", "--port=0x378", "new.srm", out}, 0, "100%", ""},
      {"sram, no folder", {"--xmdb=2", "--port=0x378", root_.file("no-such-folder") + "/s.srm"},
       1, "", "ERROR: "},
      {"bad port", {"--xmd", image, "--port=0x"}, 1, "", "ERROR: bad port"},
      {"no port", {"--xmd", image}, 1, "", "ERROR: no parallel port"},
      {"bad slot", {"--xmdb=9", "--port=0x378", "s.srm", out}, 2, "", "ERROR: SRAM slot"},
      {"unknown", {"--version"}, 2, "", "ERROR: unknown option"},
      {"nothing", {}, 2, "", "usage"},
  };
  for (const Case& c : cases) {
    const Separate run = RunSeparately(c.args, app_, scratch);
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_TRUE(Contains(run.out, c.out)) << c.name << "\n" << run.out;
    EXPECT_FALSE(Contains(run.out, "ERROR:") || Contains(run.out, "NOTE:")) << c.name;
    EXPECT_FALSE(Contains(run.err, "WARNING:") || Contains(run.err, "Bytes [")) << c.name;
    EXPECT_FALSE(Contains(run.out + run.err, "\x1b[")) << c.name << ": no colours";
    if (c.err.empty()) EXPECT_EQ(run.err, "") << c.name;
    else EXPECT_TRUE(Contains(run.err, c.err)) << c.name << "\n" << run.err;
  }
  SetVariable("TELVO_SIM_NO_CARTRIDGE", "1");
  EXPECT_EQ(RunSeparately({"--xmd", image, "--port=0x378"}, app_, scratch).status, 1);
  EXPECT_EQ(RunSeparately({"--xmdb=1", "--port=0x378", "n.srm"}, app_, scratch).status, 1);
  SetVariable("TELVO_SIM_NO_CARTRIDGE", "");
  testing_support::WriteBytes(home_ / ".ucon64rc", "version = 207\n");
  SetVariable("TELVO_SIM_FAIL_CONFIG_UPDATE", "1");
  const Separate failed = RunSeparately({"--xmd", image, "--port=0x378"}, app_, scratch);
  EXPECT_EQ(failed.status, 255);
  EXPECT_TRUE(Contains(failed.err, "ERROR: ")) << failed.err;
}

// Each way a transfer can fail: the run ends as the tool's does, and only a corrupting write
// changes the slot, without a word.
TEST_F(SimulatorRun, EachFailureSwitchEndsTheRunAsTheToolDoes) {
  fs::path scratch = root_.path() / "streams";
  fs::create_directory(scratch);
  const std::string save = rom("save.srm", 32768, 'S').string();
  const fs::path slotFile = home_ / "telvo-sim-sram2.bin";
  const std::string before = std::string(100, 'A') + std::string(32768 - 100, 'B');
  struct Case {
    const char* variable;
    int status;
    int signal;
    std::string err;  // a part of standard error
    std::string slot;
  };
  std::string corrupted(32768, 'S');
  for (std::size_t at = 0; at < corrupted.size(); at += 4096) corrupted[at] = ~'S';
  const Case cases[] = {
      {"TELVO_SIM_NO_CARTRIDGE", 1, 0, "ERROR: TELVO-MD (flash card) not detected", before},
      {"TELVO_SIM_NO_ROOT", 1, 0, "needs root privileges for the requested action", before},
      {"TELVO_SIM_PRIVILEGED_INSTRUCTION", -1, SIGSEGV, "", before},
      {"TELVO_SIM_CORRUPT_WRITE", 0, 0, "", corrupted},
  };
  for (const Case& c : cases) {
    testing_support::WriteBytes(slotFile, before);
    SetVariable(c.variable, "1");
    const Separate run = RunSeparately({"--xmdb=2", "--port=0x378", save}, app_, scratch);
    SetVariable(c.variable, "");
    EXPECT_EQ(run.status, c.status) << c.variable;
    EXPECT_EQ(run.signal, c.signal) << c.variable;
    if (c.err.empty()) EXPECT_EQ(run.err, "") << c.variable;
    else EXPECT_TRUE(Contains(run.err, c.err)) << c.variable << "\n" << run.err;
    EXPECT_TRUE(testing_support::ReadBytes(slotFile) == c.slot) << c.variable;
  }
  // A save shorter than the slot is written over its start; the rest of the slot stays.
  testing_support::WriteBytes(slotFile, before);
  const std::string shorter = rom("short.srm", 50, 'S').string();
  EXPECT_EQ(RunSeparately({"--xmdb=2", "--port=0x378", shorter}, app_, scratch).status, 0);
  EXPECT_TRUE(testing_support::ReadBytes(slotFile) == std::string(50, 'S') + before.substr(50));
}

#endif

}  // namespace
