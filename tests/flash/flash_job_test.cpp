// "Flash" through the main window with the cartridge simulator as the tool: the exact
// arguments of each run, the current directory, the multi-game image's life, and the cartridge.
#include <gtest/gtest.h>

#include <filesystem>

#include "config/environment.h"
#include "exec/process.h"
#include "support/form_rig.h"

namespace {

using testing_support::CartridgeFile;
using testing_support::FormRig;
using testing_support::ReadBytes;
using testing_support::WriteBytes;
namespace fs = std::filesystem;
using Args = std::vector<std::string>;

struct FlashJob : ::testing::Test {
  void queue(const std::vector<std::string>& names) {
    rig.browseData();
    auto& files = rig.main().get<ui::FileList>("File1");
    for (const std::string& name : names) {
      for (int i = 0; i < files.listCount(); ++i)
        if (files.item(i) == name) rig.main().userDoubleClick("File1", i);
    }
  }
  void flash() { ASSERT_TRUE(rig.main().userClick("Command4")); }
  fs::path image() { return rig.appDir().path() / "TEMP.BIN"; }

  FormRig rig;
};

TEST_F(FlashJob, AnEmptyListRunsNothingAndSaysSo) {
  flash();
  EXPECT_TRUE(rig.runs().empty());
  EXPECT_EQ(rig.output(), "The flash list is empty: add a ROM to it with \"Add to list\" first." +
                              std::string(exec::kOutputLineEnd));
}

TEST_F(FlashJob, OneEntryIsWrittenDirectlyInTheCurrentDirectory) {
  const std::string rom = rig.writeRom("my game.bin", "MY GAME", 65536);
  queue({"my game.bin"});
  rig.main().userClick("Check2");  // no fix ticked: nothing to prepare
  fs::current_path(rig.data().path());
  flash();
  const auto runs = rig.runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].args, (Args{"--xmd", rom, "--port=0x378", "--gen"}));
  EXPECT_EQ(runs[0].cwd, rig.data().str());
  EXPECT_EQ(runs[0].home, rig.appDir().str());
  EXPECT_EQ(fs::current_path(), rig.data().path());
  EXPECT_FALSE(fs::exists(image()));
  EXPECT_EQ(CartridgeFile(rig).substr(0, 65536), ReadBytes(rom));
  EXPECT_EQ(rig.main().get<ui::ListBox>("List1").listIndex(), 0);
  EXPECT_EQ(rig.main().get<ui::ListBox>("List2").listIndex(), 0);
  EXPECT_NE(rig.output().find("simulator"), std::string::npos);
}

TEST_F(FlashJob, FlagsFollowThePortInFixedOrderWhateverOrderTheyWereTicked) {
  rig.writeRom("a.bin", "A");
  queue({"a.bin"});
  // Defaults tick "Fix checksum" and "Enforce"; clear them, then tick all four backwards.
  rig.main().userClick("Check2");
  rig.main().userClick("Check3");
  flash();
  for (const char* box : {"Check4", "Check3", "Check2", "Check1"}) rig.main().userClick(box);
  rig.main().get<ui::TextBox>("Text2").setText("2bc");
  flash();
  const auto runs = rig.runs();
  ASSERT_EQ(runs.size(), 5u) << "the second flash is prepared by three fixes";
  EXPECT_EQ(runs[0].args, (Args{"--xmd", rig.data().file("a.bin"), "--port=0x378"}));
  const fs::path copy = rig.appDir().path() / "telvo-prep" / "1" / "chk" / "a.bin";
  EXPECT_EQ(runs[4].args, (Args{"--xmd", copy.string(), "--port=0x2bc", "--1991", "--chk",
                                "--gen", "--pad"}));
}

// The tool reads anything but a port address as port 0, where the system's own devices sit:
// such a text runs nothing, on one ROM and on several, and stays as the user typed it.
TEST(FlashPort, OnlyAParallelPortAddressReachesTheTool) {
  const struct {
    const char* typed;
    const char* port;  // the tool's argument; nullptr: refused
  } cases[] = {
      {"378", "--port=0x378"}, {"0x378", "--port=0x378"}, {" 0X2bc ", "--port=0x2bc"},
      {"0x0", nullptr},        {"", nullptr},             {"37 8", nullptr},
      {"LPT1", nullptr},       {"FF", nullptr},
  };
  for (int games : {1, 2}) {
    for (const auto& c : cases) {
      FormRig rig;
      rig.main().get<ui::CheckBox>("Check2").setValue(0);
      for (int i = 0; i < games; ++i)
        rig.queue(rig.writeRom("g" + std::to_string(i) + ".bin", "G", 128u << 10));
      rig.main().get<ui::TextBox>("Text2").setText(c.typed);
      ASSERT_TRUE(rig.main().userClick("Command4"));
      const auto runs = rig.runs();
      if (c.port == nullptr) {
        EXPECT_TRUE(runs.empty()) << c.typed;
        EXPECT_EQ(rig.output(), "The port \"" + std::string(c.typed) +
                                    "\" is not a parallel-port address (such as 378, 278 or "
                                    "3BC); nothing was written to the cartridge." +
                                    std::string(exec::kOutputLineEnd));
      } else {
        ASSERT_FALSE(runs.empty()) << c.typed;
        EXPECT_EQ(runs.back().args[2], c.port) << c.typed;
      }
      EXPECT_EQ(rig.main().get<ui::TextBox>("Text2").text(), c.typed);
    }
  }
}

TEST_F(FlashJob, SeveralEntriesAreBuiltInListOrderAtTheChosenSizeThenWritten) {
  const struct {
    const char* option;  // size option to select; nullptr: neither
    const char* size;
  } cases[] = {{"Option1", "--multi=64"}, {"Option2", "--multi=32"}, {nullptr, "--multi=32"}};
  // Whole Mbit and no fix ticked: the ROMs go to the build as they are.
  rig.writeRom("b.bin", "BRAVO", 256u << 10);
  rig.writeRom("a b.bin", "ALPHA", 128u << 10);
  queue({"b.bin", "a b.bin", "b.bin"});
  rig.main().userClick("Check2");
  size_t seen = 0;
  for (const auto& c : cases) {
    auto& o1 = rig.main().get<ui::OptionButton>("Option1");
    auto& o2 = rig.main().get<ui::OptionButton>("Option2");
    o1.setValue(false);
    o2.setValue(false);
    if (c.option) rig.main().get<ui::OptionButton>(c.option).setValue(true);
    fs::current_path(rig.data().path());
    flash();
    const auto runs = rig.runs();
    ASSERT_EQ(runs.size(), seen + 2) << c.size;
    const auto& build = runs[seen];
    EXPECT_EQ(build.args, (Args{"-q", c.size, "multigam.bin", rig.data().file("b.bin"),
                                rig.data().file("a b.bin"), rig.data().file("b.bin"), "TEMP.BIN",
                                "-o=" + rig.appDir().str()}));
    EXPECT_EQ(build.cwd, rig.appDir().str());
    EXPECT_EQ(runs[seen + 1].args, (Args{"--xmd", "TEMP.BIN", "--port=0x378", "--gen"}));
    EXPECT_EQ(runs[seen + 1].cwd, rig.appDir().str());
    EXPECT_EQ(fs::current_path(), rig.data().path()) << "the directory is restored";
    EXPECT_FALSE(fs::exists(image()));
    EXPECT_EQ(rig.main().get<ui::ListBox>("List1").listCount(), 3);
    EXPECT_EQ(rig.main().get<ui::ListBox>("List1").listIndex(), 0);
    EXPECT_EQ(rig.main().get<ui::ListBox>("List2").listIndex(), 0);
    seen += 2;
  }
}

TEST_F(FlashJob, TheCartridgeHoldsTheLoaderAndTheGamesAfterAMultiGameFlash) {
  // Whole Mbit: the tool writes each game only as far as its whole Mbit reach.
  const std::string a = rig.writeRom("a.bin", "ALPHA", 128u << 10);
  const std::string b = rig.writeRom("b.bin", "BRAVO", 128u << 10);
  queue({"a.bin", "b.bin"});
  rig.main().userClick("Check2");  // unfixed, so the games are found on the cartridge as they are
  flash();
  const std::string loader = ReadBytes(rig.appDir().path() / "multigam.bin");
  const std::string cart = CartridgeFile(rig);
  // The loader (its game table filled in) and each game on a 256 KiB boundary.
  EXPECT_EQ(cart.substr(0, 0x8000), loader.substr(0, 0x8000));
  EXPECT_TRUE(cart.substr(256u << 10, 128u << 10) == ReadBytes(a));
  EXPECT_TRUE(cart.substr(512u << 10, 128u << 10) == ReadBytes(b));
}

TEST_F(FlashJob, AStaleImageIsNeverWrittenAndGoesAlsoWhenTheJobStopsEarly) {
  rig.writeRom("a.bin", "ALPHA");
  rig.writeRom("b.bin", "BRAVO");
  queue({"a.bin", "b.bin"});
  WriteBytes(image(), "an image from an earlier job");
  fs::remove(rig.appDir().path() / "multigam.bin");  // the job stops before the build now
  fs::current_path(rig.data().path());
  flash();
  EXPECT_TRUE(rig.runs().empty());
  EXPECT_FALSE(fs::exists(image()));
  EXPECT_FALSE(fs::exists(rig.appDir().path() / "telvo-sim-flash.bin"));
  EXPECT_EQ(fs::current_path(), rig.data().path()) << "the directory is restored";
  EXPECT_EQ(rig.main().get<ui::ListBox>("List2").listIndex(), 0);
}

// A queued file that has gone, or was replaced by a folder, stops the job before any run: the
// flash command would read the cartridge into the user's ROM folder.
TEST_F(FlashJob, AQueuedFileThatIsGoneOrNoRegularFileRunsNothingAndIsNamed) {
  const struct {
    std::vector<std::string> queued;
    std::vector<std::string> gone;    // removed after queueing
    std::vector<std::string> folder;  // replaced by a folder after queueing
  } cases[] = {
      {{"a.bin"}, {"a.bin"}, {}},
      {{"a.bin", "b.bin", "c.bin"}, {"a.bin"}, {"c.bin"}},
  };
  for (const auto& c : cases) {
    FormRig rig;
    std::vector<std::string> named;
    for (const std::string& n : c.queued) rig.writeRom(n, "GAME");
    rig.browseData();
    auto& files = rig.main().get<ui::FileList>("File1");
    for (int i = 0; i < files.listCount(); ++i) rig.main().userDoubleClick("File1", i);
    for (const std::string& n : c.gone) fs::remove(rig.data().path() / n);
    for (const std::string& n : c.folder) {
      fs::remove(rig.data().path() / n);
      fs::create_directory(rig.data().path() / n);
    }
    ASSERT_TRUE(rig.main().userClick("Command4"));
    EXPECT_TRUE(rig.runs().empty());
    const std::string output = rig.output();
    for (const auto* list : {&c.gone, &c.folder}) {
      for (const std::string& n : *list) {
        EXPECT_NE(output.find((rig.data().path() / n).string() +
                              " is missing or not a regular file; nothing was written to the "
                              "cartridge."),
                  std::string::npos)
            << output;
      }
    }
    EXPECT_FALSE(fs::exists(rig.appDir().path() / "TEMP.BIN"));
  }
}

TEST_F(FlashJob, NoSecondJobStartsWhileOneRunsAndAClosePostponesUntilItEnds) {
  rig.writeRom("a.bin", "ALPHA", 2u << 20);
  queue({"a.bin"});
  rig.main().userClick("Check2");  // one run: the flash itself, no fix to prepare
  // Slow the simulated transfer so the user acts while the tool runs.
  config::SetEnvironmentVariable("TELVO_SIM_KBPS", "8000");
  std::vector<bool> refused;
  bool closeRefused = false;
  std::string savedAtClose;
  int ticks = 0;
  rig.backend().setUserDuringEvents([&] {
    if (++ticks != 2) return;
    for (const char* button : {"Command1", "Command2", "Command3", "Command4", "Command5"})
      refused.push_back(!rig.main().userClick(button));
    rig.main().userDoubleClick("File1", 0);
    rig.main().get<ui::CheckBox>("Check4").setValue(1);
    closeRefused = !rig.main().userClose();
    savedAtClose = ReadBytes(rig.appDir().path() / "TELVO.INI");
  });
  flash();
  config::SetEnvironmentVariable("TELVO_SIM_KBPS", "0");
  EXPECT_EQ(refused, std::vector<bool>(5, true));
  EXPECT_TRUE(closeRefused) << "the window stays while the tool runs";
  EXPECT_NE(savedAtClose.find("Pad = 1\r\n"), std::string::npos)
      << "saved at once, should the system end the program before the job does";
  EXPECT_EQ(rig.runs().size(), 1u);
  EXPECT_EQ(rig.main().get<ui::ListBox>("List1").listCount(), 1) << "double-click refused too";
  EXPECT_FALSE(rig.main().loaded()) << "closed as soon as the job ended";
  EXPECT_EQ(ReadBytes(rig.appDir().path() / "TELVO.INI").substr(0, 1), "#");
}

}  // namespace
