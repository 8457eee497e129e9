#include "sram/sram_job.h"

#include <cstdint>
#include <optional>
#include <string>

#include "exec/process.h"
#include "exec/tool_commands.h"
#include "platform/filesystem.h"
#include "platform/paths.h"
#include "ui/job_run.h"

namespace sram {

namespace {

constexpr std::uint64_t kSlotSize = 32 * 1024;

}  // namespace

bool TransferPending(ui::Window& form1) { return form1.get<ui::CheckBox>("Check5").value() != 0; }

void RunPendingTransfer(ui::JobHost& host) {
  ui::Window& w = host.form();
  if (!TransferPending(w)) return;
  const std::string name = w.get<ui::TextBox>("Text4").text();
  const std::string directory = w.get<ui::TextBox>("Text5").text();
  auto& output = w.get<ui::TextBox>("Text3");
  // The tool decides the direction: an existing file goes to the slot, otherwise the slot is
  // saved into the file. A pipe, a device or a folder of that name is neither: the tool would
  // block on it or misuse it.
  const std::string path = platform::JoinPath(directory, name);
  const std::string typedPort = w.get<ui::TextBox>("Text2").text();
  const std::optional<std::string> port = exec::PortDigits(typedPort);
  const bool send = platform::KindOfEntry(path) == platform::EntryKind::RegularFile;
  // The tool writes a file of any size from the slot's start on, over the slots after it.
  const std::uint64_t size = send ? platform::RegularFileSize(path).value_or(0) : 0;
  const auto refuse = [&](const std::string& why) {
    output.replaceSelection(why + "; nothing was transferred." + std::string(exec::kOutputLineEnd));
  };
  if (platform::KindOfEntry(path) == platform::EntryKind::Other) {
    refuse(path + " is not a regular file");
  } else if (!port) {
    refuse(exec::NotAPortAddress(typedPort));
  } else if (size > kSlotSize) {
    refuse(path + " has " + std::to_string(size) + " bytes; a slot holds " +
           std::to_string(kSlotSize) + " (32 KiB)");
  } else {
    const std::string slot = w.get<ui::Captioned>("Label7").caption();
    const exec::CommandLine command = exec::SramCommand(slot, *port, name, directory);
    const std::string slotName = "slot " + slot;
    ui::JobRun job(host, send ? slotName + " was not changed" : path + " was not written");
    if (send) {
      job.run({command, "write " + path + " to " + slotName, /*writesTarget=*/true});
      job.finish(path + " written to " + slotName);
    } else {
      job.run({command, "save " + slotName + " into " + path, /*writesTarget=*/true});
      job.finish(slotName + " saved into " + path);
    }
  }
  DropPendingTransfer(w);
}

void DropPendingTransfer(ui::Window& form1) {
  form1.get<ui::CheckBox>("Check5").setValue(0);
  form1.get<ui::TextBox>("Text4").setText("");
  form1.get<ui::TextBox>("Text5").setText("");
}

}  // namespace sram
