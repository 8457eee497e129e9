// The cartridge simulator that stands in for ucon64: its reading of the four command lines, and
// whole runs through the runner against a cartridge folder of the test's own.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "config/environment.h"
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
#include "support/run_separately.h"
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
      {"flash, empty port", {"--xmd", "a.bin", "--port=0x"}, Kind::Flash},
      {"flash, not hex", {"--xmd", "a.bin", "--port=0x37g"}, Kind::Flash},
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
      {"sram, junk port", {"--xmdb=1", "--port=0xZ", "s.srm", "-o=/x"}, Kind::Sram},
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
  EXPECT_EQ(sram.port, 0x3BCu);
  EXPECT_EQ(sram.file, "s.srm");
  const sim::Command flash =
      sim::ParseCommand({"--xmd", "a.bin", "--chk", "--port=0x378", "--gen", "--pad"});
  EXPECT_EQ(flash.action, "--xmd");
  EXPECT_EQ(flash.notRun, (Args{"--chk", "--pad"}));
  EXPECT_TRUE(flash.genesis);
  EXPECT_EQ(flash.port, 0x378u);
  const sim::Command fix = sim::ParseCommand({"--pad", "--chk", "r.bin"});
  EXPECT_EQ(fix.action, "--pad");
  EXPECT_EQ(fix.notRun, (Args{"--chk"}));
  EXPECT_FALSE(fix.outDir.has_value());
  EXPECT_EQ(sim::ParseCommand({"--xmd", "a"}).exitCode, 1) << "a port failure";
}

// The port as the tool reads it: the hexadecimal number the text starts with.
TEST(SimulatorCommand, ReadsThePortAsTheToolDoes) {
  const std::vector<std::pair<std::string, unsigned>> cases = {
      {"0x378", 0x378}, {"378", 0x378},    {"0X2bc", 0x2BC}, {" 0x3BC", 0x3BC},
      {"0x0x378", 0},   {"", 0},           {"0x", 0},        {"LPT1", 0},
      {"37 8", 0x37},   {"0x12345", 0x2345}, {"FF", 0xFF},   {"0x37g", 0x37},
  };
  for (const auto& [text, port] : cases) EXPECT_EQ(sim::PortNumber(text), port) << text;
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
    bool genesis;  // --gen
    std::size_t size;
    std::size_t newSize;
    std::size_t at;       // where the fix changes the ROM
    std::string changed;  // what stands there afterwards; empty: nothing changed
  };
  std::string blanks(40, ' ');
  const std::vector<Case> cases = {
      {"--pad", true, 100, 131072, 100, std::string(131072 - 100, '\0')},
      {"--pad", true, 131072, 262144, 131072, std::string(131072, '\0')},
      {"--pad", false, 131073, 262144, 131073, std::string(131071, '\0')},
      {"--1991", true, 0x200, 0x200, 0x120, "(C) SEGA" + blanks + "(C)SEGA " + blanks},
      {"--1991", true, 0x1FF, 0x1FF, 0, ""},
      {"--chk", true, 0x1FF, 0x1FF, 0, ""},
      // No "SEGA" at 0x100 and no --gen: the other console's checksum, little-endian.
      {"--chk", false, 0x8000, 0x8000, 0x7FDC, "\x03\x3F\xFC\xC0"},
  };
  for (const Case& c : cases) {
    const std::string original = RomBytes(c.size);
    std::string rom = original;
    sim::ApplyRomFix(c.action, c.genesis, rom);
    ASSERT_EQ(rom.size(), c.newSize) << c.action << " " << c.size;
    std::string expected = original;
    expected.resize(c.newSize, '\0');
    expected.replace(c.at, c.changed.size(), c.changed);
    EXPECT_EQ(rom, expected) << c.action << " " << c.size;
  }
}

TEST(SimulatorRomFix, ChecksumIsTheBigEndianWordSumFromTheEndOfTheHeader) {
  std::string rom(0x200, '\xAA');  // the header does not count
  rom += std::string("\x12\x34\xFF\xFF\x00\x02\x80", 7);  // a last odd byte is a high byte
  // 0x1234 + 0xFFFF + 0x0002 + 0x8000 = 0x19235, kept to 16 bits.
  EXPECT_EQ(sim::GenesisChecksum(rom), 0x9235);
  sim::ApplyRomFix("--chk", /*genesis=*/true, rom);
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
            "\r   1048576 Bytes [============------------] 50%, BPS=123456, ETA=00:08  ");
  EXPECT_EQ(sim::ProgressLine(16384, 8u << 20, 153600, 54),
            "\r     16384 Bytes [------------------------] 0%, BPS=153600, ETA=00:54  ");
  EXPECT_EQ(sim::ProgressLine(100, 100, 1000, 1),
            "\r       100 Bytes [========================] 100%, BPS=1000, TOTAL=00:01");
  EXPECT_TRUE(sim::ProgressLine(0, 0, 0, 100000).ends_with(", TOTAL=99:59"));
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
// The simulator run with args in folder, its standard output and standard error kept apart.
testing_support::Separate RunSim(const std::vector<std::string>& args, const fs::path& folder,
                              const fs::path& scratch) {
  return testing_support::RunSeparately(
      fs::path(testing_support::BuildToolsDir()) / "ucon64", args, folder, scratch);
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
  EXPECT_FALSE(Contains(written, "Done:")) << "the program gives the verdict, not the tool";
#ifndef _WIN32
  // As the tool writes it: a line every 16 KiB, each after a carriage return.
  const testing_support::Separate raw =
      RunSim({"--xmd", image.string(), "--port=0x378", "--gen"}, app_, root_.path());
  EXPECT_TRUE(Contains(raw.out, "\r     16384 Bytes [===---------------------] 16%, BPS="))
      << raw.out;
  EXPECT_TRUE(Contains(raw.out, "\r    100000 Bytes [========================] 100%, BPS="))
      << raw.out;
#endif
  const std::string cartridge = flash();
  ASSERT_EQ(cartridge.size(), 8u << 20);
  // Whole 16 KiB chunks as the tool sends them: the last one ends with what its buffer held.
  EXPECT_EQ(cartridge.substr(0, 7 * 16384), std::string(7 * 16384, 'G'));
  EXPECT_EQ(cartridge.substr(7 * 16384), std::string((8u << 20) - 7 * 16384, '\xFF'));

  const fs::path dump = root_.path() / "dump.bin";
  run(exec::SingleFlashCommand(dump.string(), "378", {}));
  EXPECT_EQ(testing_support::ReadBytes(dump), cartridge);
}

TEST_F(SimulatorRun, ActionsAfterTheTransferDoNotRunAndTheRunSaysSo) {
  const std::string original(65536, 'R');
  const fs::path image = root_.path() / "game.bin";
  testing_support::WriteBytes(image, original);
  const std::string output = run(exec::SingleFlashCommand(image.string(), "378", {1, 1, 1, 1}));
  for (const char* action : {"--1991", "--chk", "--pad"}) {
    EXPECT_TRUE(Contains(output, std::string("NOTE: ") + action +
                                     " was not run: options after --xmd are not processed"))
        << output;
  }
  EXPECT_TRUE(Contains(output, "Genesis/MD format enforced")) << output;
  EXPECT_EQ(flash().substr(0, 65536), original) << "written as it is";
  EXPECT_EQ(testing_support::ReadBytes(image), original);
  EXPECT_FALSE(fs::exists(app_ / "game.bin"));
  EXPECT_FALSE(fs::exists(root_.path() / "game.bak"));
}

// The tool does not look at the size: the addresses run on past the end of the flash, and the
// last chunk lands at the start, which the writing erases again.
TEST_F(SimulatorRun, AnImageLargerThanTheCartridgeRunsOnAtItsStart) {
  const fs::path image = rom("big.bin", (8u << 20) + 10, 'B');
  run(exec::SingleFlashCommand(image.string(), "378", {}));
  EXPECT_EQ(flash(), std::string(16384, 'B') + std::string(131072 - 16384, '\xFF') +
                         std::string((8u << 20) - 131072, 'B'));
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
    sim::ApplyRomFix(c.action, /*genesis=*/false, expected);
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
  // A ROM too short for a header is copied as it is.
  const fs::path tiny = rom("tiny.bin", 16, 'T');
  const std::string copied = run({"ucon64", "--chk", tiny.string(), "-o=" + scratch.string()});
  EXPECT_FALSE(Contains(copied, "ERROR: ")) << copied;
  EXPECT_EQ(testing_support::ReadBytes(scratch / "tiny.bin"), std::string(16, 'T'));
}

// The image as the tool builds it: the loader, then each game padded to 16 KiB, counted from
// a 2 Mbit boundary; what passes the chosen size is cut and ends the build. The loader's game
// table names each game's size in whole Mbit.
TEST_F(SimulatorRun, MultiBuildPadsEachGameAndCutsWhatDoesNotFit) {
  const fs::path a = rom("a.bin", 20000, 'A');
  const fs::path b = rom("b b.bin", 16384, 'B');
  const fs::path huge = rom("huge.bin", 4u << 20, 'H');
  const fs::path missing = root_.path() / "missing.bin";
  testing_support::WriteBytes(app_ / "TEMP.BIN", "an earlier image");
  const std::string output = run(exec::MultiBuildCommand(
      "32", {a.string(), missing.string(), huge.string(), b.string()}, app_.string()));
  EXPECT_FALSE(Contains(output, "missing.bin")) << "a missing game is skipped without a word";
  // The loader counts 256 KiB and a.bin 256 KiB more: 3584 KiB are left for huge.bin.
  EXPECT_TRUE(Contains(output, "Output file needs 32 Mbit on flash card, truncating " +
                                   huge.string() + ", skipping 524288 bytes"))
      << output;
  EXPECT_FALSE(Contains(output, b.string())) << "the build ended with the cut";
  const std::string image = testing_support::ReadBytes(app_ / "TEMP.BIN");
  ASSERT_EQ(image.size(), 131072u + 32768u + (3584u << 10));
  EXPECT_EQ(image.substr(0, 0x8000), Loader().substr(0, 0x8000));
  EXPECT_EQ(image.substr(131072), std::string(20000, 'A') + std::string(32768 - 20000, '\xFF') +
                                      std::string(3584u << 10, 'H'));
  EXPECT_EQ(image[0x8000 + 0x1D], 0) << "a.bin: no whole Mbit";
  EXPECT_EQ(image[0x8020 + 0x1D], 32) << "huge.bin: 32 Mbit";
  EXPECT_EQ(image[0x8040], 0) << "no third game";
  EXPECT_EQ(image.substr(0x83F4, 12), "uCON64 2.2.1");
  EXPECT_EQ(testing_support::ReadBytes(app_ / "TEMP.bak"), "an earlier image");
}

TEST_F(SimulatorRun, MultiBuildTakesAtMost31Games) {
  std::vector<std::string> roms;
  for (int i = 0; i < 33; ++i) {
    roms.push_back(rom("g" + std::to_string(i) + ".bin", 100, static_cast<char>('a' + i % 26))
                       .string());
  }
  const std::string output = run(exec::MultiBuildCommand("64", roms, app_.string()));
  EXPECT_TRUE(Contains(output, "WARNING: A multi-game file can contain a maximum of 31 games"))
      << output;
  EXPECT_FALSE(Contains(output, roms[31])) << output;
  EXPECT_EQ(testing_support::ReadBytes(app_ / "TEMP.BIN").size(), 131072u + 31 * 16384u);
}

// The tool takes the first file that exists for the loader, whatever it holds, and only asks
// whether one of another size is one.
TEST_F(SimulatorRun, MultiBuildTakesTheFirstFileThereForTheLoader) {
  const fs::path a = rom("a.bin", 100, 'A');
  std::string noHeader = Loader();
  noHeader.replace(0x100, 4, "ABCD");
  struct Case {
    const char* name;
    std::optional<std::string> loader;  // nullopt: none
    std::string loaderName;             // as the build names it
    std::vector<std::string> warnings;
  };
  const std::vector<Case> cases = {
      {"none", std::nullopt, a.string(),
       {"WARNING: " + a.string() + " does not appear to be a Genesis ROM",
        "WARNING: Are you sure " + a.string() + " is a loader binary?"}},
      {"64 KiB", Loader().substr(0, 65536), "multigam.bin",
       {"WARNING: Are you sure multigam.bin is a loader binary?"}},
      {"no header", noHeader, "multigam.bin",
       {"WARNING: multigam.bin does not appear to be a Genesis ROM"}},
  };
  for (const Case& c : cases) {
    if (c.loader) testing_support::WriteBytes(app_ / "multigam.bin", *c.loader);
    else fs::remove(app_ / "multigam.bin");
    const std::string output = run(exec::MultiBuildCommand("64", {a.string()}, app_.string()));
    EXPECT_TRUE(Contains(output, "Loader: " + c.loaderName)) << c.name << "\n" << output;
    for (const std::string& warning : c.warnings)
      EXPECT_TRUE(Contains(output, warning)) << c.name << "\n" << output;
    EXPECT_TRUE(fs::exists(app_ / "TEMP.BIN")) << c.name;
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
  const auto slot = [&](int number) {
    return sim::SlotOf(testing_support::ReadBytes(home_ / "telvo-sim-sram.bin"), number);
  };
  // A full path is used as it stands. Each byte is stored twice from (slot - 1) * 32 KiB.
  run(SramLine("3", "378", (saves / "game one.srm").string(), saves.string()));
  const std::string sram = testing_support::ReadBytes(home_ / "telvo-sim-sram.bin");
  ASSERT_EQ(sram.size(), 262144u);
  EXPECT_EQ(sram.substr(65536, 2000), std::string(2000, 'S'));
  EXPECT_EQ(slot(3), std::string(1000, 'S') + std::string(32768 - 1000, '\0'));
  const std::string third = slot(3);
  // A bare name is looked for in the current directory (the application folder), whatever
  // "-o=" says: the stale file there is sent, the one in the folder named is not.
  testing_support::WriteBytes(app_ / "game one.srm", std::string(500, 'X'));
  run(SramLine("1", "378", "game one.srm", saves.string()));
  EXPECT_EQ(slot(1).substr(0, 500), std::string(500, 'X'));
  // A file larger than a slot runs on into the slots after it, without a word.
  testing_support::WriteBytes(saves / "big.srm", std::string(98304, 'L'));
  const std::string big =
      run(SramLine("2", "378", (saves / "big.srm").string(), saves.string()));
  EXPECT_FALSE(Contains(big, "ERROR")) << big;
  EXPECT_EQ(slot(2), std::string(32768, 'L'));
  EXPECT_EQ(slot(4), std::string(32768, 'L'));
  EXPECT_EQ(slot(1).substr(0, 500), std::string(500, 'X')) << "the slot before stays";
  // A missing file receives the slot: a bare name in the current directory.
  run(SramLine("4", "378", "copy.srm", saves.string()));
  EXPECT_EQ(testing_support::ReadBytes(app_ / "copy.srm"), slot(4));
  EXPECT_FALSE(fs::exists(saves / "copy.srm"));
  run(SramLine("4", "378", (saves / "copy 2.srm").string(), saves.string()));
  EXPECT_EQ(testing_support::ReadBytes(saves / "copy 2.srm"), slot(4));
  EXPECT_NE(third, slot(3)) << "the large save ran on over slot 3";
}

// Folders and files named with letters beyond ASCII, the cartridge folder too: the names reach
// the tool in the system's 8-bit text, and it opens what it is given and names the cartridge
// folder back as given. "€" and "Œ" stand where the Windows code page and Latin-1 differ.
TEST_F(SimulatorRun, NamesBeyondAsciiAreOpenedAndShownAsGiven) {
  struct Case {
    const char* name;
    const char8_t* folder;
    const char8_t* file;
  };
  const std::vector<Case> cases = {
      {"umlauts", u8"Spiele f\u00fcr mich", u8"S\u00f6nic T\u00ebst.bin"},
      {"letters Latin-1 lacks", u8"Prix \u20ac", u8"\u0152uvre.bin"},
  };
  for (const Case& c : cases) {
    const fs::path folder = root_.path() / fs::path(c.folder);
    const fs::path home = folder / "cartridge";
    fs::create_directories(home);
    ASSERT_TRUE(config::SetEnvironmentVariable("UCON64_HOME", home.string())) << c.name;
    const fs::path image = folder / fs::path(c.file);
    // Large enough for the tool to take it as a ROM image.
    const std::string rom(64 * 1024, 'N');
    testing_support::WriteBytes(image, rom);
    const std::string flashed = run(exec::SingleFlashCommand(image.string(), "378", {}));
    EXPECT_TRUE(Contains(flashed, "set of files in " + home.string() + kEol)) << c.name << flashed;
    EXPECT_FALSE(Contains(flashed, "ERROR")) << c.name << flashed;
    EXPECT_EQ(testing_support::ReadBytes(home / "telvo-sim-flash.bin").substr(0, rom.size()), rom)
        << c.name;

    const fs::path save = fs::path(image).replace_extension(".srm");
    const std::string saved = run(SramLine("1", "378", save.string(), folder.string()));
    EXPECT_FALSE(Contains(saved, "ERROR")) << c.name << saved;
    ASSERT_TRUE(fs::exists(save)) << c.name << saved;
    EXPECT_EQ(fs::file_size(save), 32768u) << c.name;
  }
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
  const fs::path image = rom("a.bin", 65536, 'A');
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
      {exec::SingleFlashCommand("a.bin", "37x", {}),
       "WARNING: Specified port (0x37) < 0x100. Using 0x278"},
      {exec::SramCommand("5", "378", "s.srm", "/tmp"), "ERROR: SRAM slot \"5\" does not exist"},
      {{"ucon64", "--xmdb=1", "--port=0x378", "two", "words", "-o=/tmp"}, "usage"},
      {{"ucon64", "--rom", "a.bin"}, "ERROR: unknown option \"--rom\""},
  };
  testing_support::WriteBytes(app_ / "a.bin", std::string(65536, 'A'));
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
  const std::string image = rom("a.bin", 65536, 'A').string();
  const std::string tiny = rom("tiny.bin", 100, 'T').string();
  // A copier's 512-byte header, as the tool recognises it, before the ROM.
  std::string headed(512, '\0');
  headed.replace(8, 3, "\xAA\xBB\x06");
  const std::string header = root_.file("header.bin");
  testing_support::WriteBytes(header, headed + std::string(65536, 'A'));
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
      {"flash under 33 KiB", {"--xmd", tiny, "--port=0x378"}, 1, "",
       "ERROR: Could read only 0 of 12 bytes"},
      {"copier header", {"--xmd", header, "--port=0x378"}, 0, "",
       "ERROR: This ROM has a header"},
      {"build", {"-q", "--multi=32", "multigam.bin", image, "TEMP.BIN", out}, 0, "ROM1: ", ""},
      {"missing game", {"-q", "--multi=32", "multigam.bin", image, root_.file("missing.bin"),
                        "TEMP.BIN", out}, 0, "ROM1: ", ""},
      {"wrong loader", {"-q", "--multi=32", image, image, "TEMP.BIN", out}, 0,
       "WARNING: Are you sure " + image, ""},
      {"sram", {"--xmdb=2", "--port=0x378", "new.srm", out}, 0, "100%", ""},
      {"sram, no folder", {"--xmdb=2", "--port=0x378", root_.file("no-such-folder") + "/s.srm"},
       1, "", "ERROR: "},
      {"port junk", {"--xmd", image, "--port=0x0x378"}, 1, "WARNING: Specified port",
       "ERROR: TELVO-MD (flash card) not detected"},
      {"no port", {"--xmd", image}, 1, "", "ERROR: no parallel port"},
      {"bad slot", {"--xmdb=9", "--port=0x378", "s.srm", out}, 2, "", "ERROR: SRAM slot"},
      {"unknown", {"--version"}, 2, "", "ERROR: unknown option"},
      {"nothing", {}, 2, "", "usage"},
  };
  for (const Case& c : cases) {
    const testing_support::Separate run = RunSim(c.args, app_, scratch);
    EXPECT_EQ(run.status, c.status) << c.name;
    EXPECT_TRUE(Contains(run.out, c.out)) << c.name << "\n" << run.out;
    EXPECT_FALSE(Contains(run.out, "ERROR:") || Contains(run.out, "NOTE:")) << c.name;
    EXPECT_FALSE(Contains(run.err, "WARNING:") || Contains(run.err, "Bytes [")) << c.name;
    EXPECT_FALSE(Contains(run.out + run.err, "\x1b[")) << c.name << ": no colours";
    if (c.err.empty()) EXPECT_EQ(run.err, "") << c.name;
    else EXPECT_TRUE(Contains(run.err, c.err)) << c.name << "\n" << run.err;
  }
  SetVariable("TELVO_SIM_NO_CARTRIDGE", "1");
  EXPECT_EQ(RunSim({"--xmd", image, "--port=0x378"}, app_, scratch).status, 1);
  EXPECT_EQ(RunSim({"--xmdb=1", "--port=0x378", "n.srm"}, app_, scratch).status, 1);
  SetVariable("TELVO_SIM_NO_CARTRIDGE", "");
  testing_support::WriteBytes(home_ / ".ucon64rc", "version = 207\n");
  SetVariable("TELVO_SIM_FAIL_CONFIG_UPDATE", "1");
  const testing_support::Separate failed = RunSim({"--xmd", image, "--port=0x378"}, app_, scratch);
  EXPECT_EQ(failed.status, 255);
  EXPECT_TRUE(Contains(failed.err, "ERROR: ")) << failed.err;
}

// Each way a transfer can fail: the run ends as the tool's does, and only a corrupting write
// changes the slot, without a word.
TEST_F(SimulatorRun, EachFailureSwitchEndsTheRunAsTheToolDoes) {
  fs::path scratch = root_.path() / "streams";
  fs::create_directory(scratch);
  const std::string before = std::string(100, 'A') + std::string(32768 - 100, 'B');
  testing_support::WriteBytes(root_.path() / "before.srm", before);
  const std::string save = rom("save.srm", 32768, 'S').string();
  auto slot2 = [&] {
    return sim::SlotOf(testing_support::ReadBytes(home_ / "telvo-sim-sram.bin"), 2);
  };
  std::string corrupted(32768, 'S');
  for (std::size_t at = 0; at < corrupted.size(); at += sim::kCorruptionStride)
    corrupted[at] = ~'S';
  struct Case {
    const char* variable;
    int status;
    int signal;
    std::string err;  // a part of standard error
    std::string slot;
  };
  const Case cases[] = {
      {"TELVO_SIM_NO_CARTRIDGE", 1, 0, "ERROR: TELVO-MD (flash card) not detected", before},
      {"TELVO_SIM_NO_ROOT", 1, 0, "needs root privileges for the requested action", before},
      {"TELVO_SIM_PRIVILEGED_INSTRUCTION", -1, SIGSEGV, "", before},
      {"TELVO_SIM_CORRUPT_WRITE", 0, 0, "", corrupted},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(RunSim({"--xmdb=2", "--port=0x378", (root_.path() / "before.srm").string()}, app_,
                     scratch).status, 0);
    ASSERT_TRUE(slot2() == before);
    SetVariable(c.variable, "1");
    const testing_support::Separate run = RunSim({"--xmdb=2", "--port=0x378", save}, app_, scratch);
    SetVariable(c.variable, "");
    EXPECT_EQ(run.status, c.status) << c.variable;
    EXPECT_EQ(run.signal, c.signal) << c.variable;
    if (c.err.empty()) EXPECT_EQ(run.err, "") << c.variable;
    else EXPECT_TRUE(Contains(run.err, c.err)) << c.variable << "\n" << run.err;
    EXPECT_TRUE(slot2() == c.slot) << c.variable;
  }
}

#endif

}  // namespace
