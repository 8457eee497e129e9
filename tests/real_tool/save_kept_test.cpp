// A save sent to a slot through the window, against each release of the real tool with the
// emulated cartridge: the slot's save kept first, the file sent, the slot read back.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/filesystem.h"
#include "real_tools.h"
#include "config/environment.h"
#include "support/form_rig.h"

namespace {

namespace fs = std::filesystem;
using testing_support::FormRig;
using testing_support::ReadBytes;
using testing_support::SlotFile;
using testing_support::WriteBytes;

std::string Save(char seed) {
  std::string save(32768, '\0');
  for (std::size_t i = 0; i < save.size(); ++i) save[i] = static_cast<char>(seed + i * 7);
  return save;
}

std::string LastLine(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r')) trimmed.pop_back();
  const std::size_t start = trimmed.find_last_of('\n');
  return start == std::string::npos ? trimmed : trimmed.substr(start + 1);
}

// The user's folder of saves (with a blank in its name), holding game.srm.
fs::path FolderWithGame(const FormRig& rig) {
  const fs::path saves = rig.data().path() / "my saves";
  fs::create_directories(saves);
  WriteBytes(saves / "game.srm", Save('G'));
  return saves;
}

TEST(RealToolSram, ASendKeepsTheSlotsSaveThenWritesAndVerifiesIt) {
  for (const testing_support::RealTool& tool : testing_support::RealTools()) {
    FormRig rig(tool.program);
    const fs::path saves = FolderWithGame(rig);
    rig.main().userScroll("VScroll1", 1);  // slot 2

    // The earlier save, put into the slot through the tool itself.
    WriteBytes(saves / "earlier.srm", Save('E'));
    rig.transferSram(saves, "earlier.srm");
    ASSERT_EQ(SlotFile(rig, 2), Save('E')) << tool.release << "\n" << rig.output();

    rig.transferSram(saves, "game.srm");
    const std::string chosen = platform::JoinPath(saves.string(), "game.srm");
    EXPECT_EQ(LastLine(rig.output()), "Done: " + chosen + " written to slot 2 and verified")
        << tool.release << "\n" << rig.output();
    EXPECT_EQ(SlotFile(rig, 2), Save('G')) << tool.release;
    EXPECT_EQ(ReadBytes(saves / "game.srm"), Save('G')) << tool.release;
    // Two copies kept: the empty slot before the first send, the earlier save before this one.
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(rig.appDir().path() / "saves"))
      kept.push_back(ReadBytes(entry.path()));
    ASSERT_EQ(kept.size(), 2u) << tool.release;
    EXPECT_TRUE(kept[0] == Save('E') || kept[1] == Save('E')) << tool.release;
    for (const auto& entry : fs::directory_iterator(rig.appDir().path()))
      EXPECT_EQ(entry.path().filename().string().rfind("telvo-readback", 0), std::string::npos)
          << tool.release;
  }
}

// Release 2.2.1 asks the cartridge for its ID before an SRAM transfer and fails; 2.0.0 does not
// ask, "receives" what the idle port reads and "sends" with exit 0: only the read-back tells.
TEST(RealToolSram, WithNoCartridgeTheSlotIsNeverReportedWritten) {
  for (const testing_support::RealTool& tool : testing_support::RealTools()) {
    FormRig rig(tool.program);
    const fs::path saves = FolderWithGame(rig);
    config::SetEnvironmentVariable("TELVO_SIM_NO_CARTRIDGE", "1");
    rig.transferSram(saves, "game.srm");
    config::SetEnvironmentVariable("TELVO_SIM_NO_CARTRIDGE", "");
    const std::string output = rig.output();
    const std::string last = LastLine(output);
    if (tool.release == "2.0.0") {
      EXPECT_EQ(last.rfind("Failed: slot 1 does not hold ", 0), 0u) << output;
      continue;
    }
    EXPECT_EQ(last.rfind("Failed: keep slot 1's present save in ", 0), 0u)
        << tool.release << "\n" << output;
    EXPECT_NE(last.find("; slot 1 was not changed."), std::string::npos) << last;
    EXPECT_NE(output.find("No cartridge answered"), std::string::npos) << tool.release;
  }
}

}  // namespace
