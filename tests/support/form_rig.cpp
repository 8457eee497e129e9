#include "support/form_rig.h"

#include <cstdlib>
#include <filesystem>

#include "config/environment.h"

namespace testing_support {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
constexpr const char* kToolName = "ucon64.exe";
#else
constexpr const char* kToolName = "ucon64";
#endif

}  // namespace

FormRig::FormRig() : log_(data_.file("tool.log")) {
  const fs::path tools = BuildToolsDir();
  fs::copy_file(tools / kToolName, appDir_.path() / kToolName);
  fs::copy_file(tools / "multigam.bin", appDir_.path() / "multigam.bin");
  config::SetEnvironmentVariable("TELVO_SIM_LOG", log_);
  config::SetEnvironmentVariable("TELVO_SIM_KBPS", "0");
  fs::current_path(data_.path());
  form_ = std::make_unique<app::Form1>(backend_, app::Form1::Options{appDir_.str()});
  form_->Form_Load();
  backend_.processPendingEvents();
}

FormRig::~FormRig() {
  form_.reset();
  config::SetEnvironmentVariable("TELVO_SIM_LOG", "");
  config::SetEnvironmentVariable("TELVO_WRITER_SCRIPT", "");
}

void FormRig::replaceTool(const std::string& script) {
  const fs::path tool = appDir_.path() / kToolName;
  fs::remove(tool);
  if (script.empty()) return;
#ifdef _WIN32
  fs::copy_file(fs::path(BuildToolsDir()) / "telvo-test-writer.exe", tool);
#else
  fs::copy_file(fs::path(BuildToolsDir()) / "telvo-test-writer", tool);
#endif
  config::SetEnvironmentVariable("TELVO_WRITER_SCRIPT", script);
}

ui::MemoryWindow& FormRig::main() { return dynamic_cast<ui::MemoryWindow&>(form_->form()); }

std::string FormRig::output() { return main().get<ui::TextBox>("Text3").text(); }

std::string FormRig::writeRom(const std::string& name, const std::string& title, size_t size) {
  std::string bytes(size, '\x11');
  if (size >= 384) {
    std::string field = title;
    field.resize(48, ' ');
    bytes.replace(336, 48, field);
  }
  WriteBytes(data_.path() / name, bytes);
  return data_.file(name);
}

void FormRig::browseData() {
  main().userOpenDirectory("Dir1", data_.str());
  main().get<ui::FileList>("File1").setPath(data_.str());
}

void FormRig::queue(const fs::path& file) {
  const std::string folder = file.parent_path().string();
  main().userOpenDirectory("Dir1", folder);
  auto& files = main().get<ui::FileList>("File1");
  files.setPath(folder);
  for (int i = 0; i < files.listCount(); ++i)
    if (files.item(i) == file.filename().string()) main().userDoubleClick("File1", i);
}

std::string CartridgeFile(const FormRig& rig) {
  return ReadBytes(rig.appDir().path() / "telvo-sim-flash.bin");
}

std::string SlotFile(const FormRig& rig, int slot) {
  return ReadBytes(rig.appDir().path() / ("telvo-sim-sram" + std::to_string(slot) + ".bin"));
}

}  // namespace testing_support
