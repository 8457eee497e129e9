// A started main window on the in-memory backend, in a temporary application directory that
// holds the cartridge simulator as its tool and the simulator's multi-game loader. Every tool
// run is recorded in a log (argv, working directory, UCON64_HOME).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/form1.h"
#include "support/test_support.h"
#include "support/tool_log.h"
#include "ui/memory/memory_backend.h"

namespace testing_support {

class FormRig {
 public:
  FormRig();
  ~FormRig();

  app::Form1& form1() { return *form_; }
  ui::MemoryWindow& main();
  ui::MemoryBackend& backend() { return backend_; }
  const TempDir& appDir() const { return appDir_; }
  const TempDir& data() const { return data_; }
  std::vector<ToolRun> runs() const { return ReadToolLog(log_); }
  std::string output();  // the output box Text3

  // Puts the test writer in the tool's place, running script on every run (see
  // tools/test_writer.cpp: "err|ERROR: no cartridge\\n|exit|1"): for the ways the tool fails
  // that the simulator does not play. With an empty script no tool is there at all.
  void replaceTool(const std::string& script);

  // Files for the file browsers.
  std::string writeRom(const std::string& name, const std::string& title, size_t size = 1024);
  // Opens the data folder in the main window's browser and lists its files as they are now.
  void browseData();
  // Queues file (in any folder) as the user does: opens its folder, double-clicks it.
  void queue(const std::filesystem::path& file);

 private:
  CurrentDirGuard cwd_;
  TempDir appDir_;
  TempDir data_;
  std::string log_;
  std::string savedPath_;
  ui::MemoryBackend backend_;
  std::unique_ptr<app::Form1> form_;
};

// The virtual cartridge's flash image and SRAM slots, as the simulator keeps them.
std::string CartridgeFile(const FormRig& rig);
std::string SlotFile(const FormRig& rig, int slot);

}  // namespace testing_support
