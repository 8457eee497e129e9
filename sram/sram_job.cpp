#include "sram/sram_job.h"

#include <cstdint>
#include <optional>
#include <string>

#include "exec/process.h"
#include "exec/tool_commands.h"
#include "platform/clock.h"
#include "platform/file_read.h"
#include "platform/file_replace.h"
#include "platform/path_text.h"
#include "sram/snapshot.h"
#include "ui/job_run.h"

namespace sram {

namespace {

constexpr std::uint64_t kSlotSize = 32 * 1024;

// What the read-back receives into, in the application directory, before it is compared.
constexpr std::string_view kReadBackStem = "telvo-readback";

// The largest save the comparison reads: a slot holds 32 KiB, and larger files are refused.
constexpr std::size_t kCompareLimit = 64u << 10;

struct Transfer {
  std::string slot;       // the slot number, as the slot selector shows it
  std::string port;
  std::string name;       // the file as the dialog gave it
  std::string directory;
  std::string path;       // the directory joined with the name: what the tool is given

  std::string slotName() const { return "slot " + slot; }
  // The SRAM command for file (a name in folder): the tool receives the slot into it when it
  // does not exist, otherwise sends it to the slot.
  exec::CommandLine command(std::string_view file, std::string_view folder) const {
    return exec::SramCommand(slot, port, file, folder);
  }
};

// Removes a file the job made however the job ends.
class RemovedAtEnd {
 public:
  explicit RemovedAtEnd(std::string path) : path_(std::move(path)) {}
  ~RemovedAtEnd() { platform::RemoveFile(path_); }
  RemovedAtEnd(const RemovedAtEnd&) = delete;
  RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;

 private:
  std::string path_;
};

void Receive(ui::JobHost& host, const Transfer& t) {
  ui::JobRun job(host, t.path + " was not written");
  job.say(t.path + " does not exist: " + t.slotName() + " will be saved into it");
  job.run({t.command(t.name, t.directory), "save " + t.slotName() + " into " + t.path,
           /*writesTarget=*/true});
  job.finish(t.slotName() + " saved into " + t.path);
}

// The slot's present save is received into a new file of the snapshot folder, and the file is
// sent only when that copy holds something; afterwards the slot is read back and compared with
// the file, so that a save that did not arrive is reported, with where the earlier one is.
void Send(ui::JobHost& host, const Transfer& t) {
  const std::string slotName = t.slotName();
  ui::JobRun job(host, slotName + " was not changed");
  job.say(t.path + " exists: it will be written to " + slotName +
          " (the slot's present save is kept first)");
  const std::string keptFolder = platform::JoinPath(host.run.appDir, kSnapshotFolder);
  const std::optional<std::string> kept =
      NewSnapshotPath(host.run.appDir, t.slot, platform::LocalTimeNow());
  if (!kept) {
    job.fail("the folder " + keptFolder + " for the slot's present save cannot be made");
  } else if (job.run({t.command(platform::FileNameOf(*kept), keptFolder),
                      "keep " + slotName + "'s present save in " + *kept}) &&
             platform::RegularFileSize(*kept).value_or(0) == 0) {
    job.fail(slotName + "'s present save did not reach " + *kept);
  }
  if (job.failed()) {
    job.finish({});
    return;
  }
  job.noteAfterWrite("its earlier contents are in " + *kept);
  if (!job.run({t.command(t.name, t.directory), "write " + t.path + " to " + slotName,
                /*writesTarget=*/true})) {
    job.finish({});
    return;
  }

  const std::string readBack = FirstFreePath(host.run.appDir, kReadBackStem);
  const RemovedAtEnd removeReadBack(readBack);
  if (job.run({t.command(platform::FileNameOf(readBack), host.run.appDir),
               "read " + slotName + " back"})) {
    const std::optional<std::string> sent = platform::ReadFilePart(t.path, 0, kCompareLimit);
    const std::optional<std::string> held = platform::ReadFilePart(readBack, 0, kCompareLimit);
    if (!sent || !held) {
      job.fail("cannot compare " + slotName + " with " + t.path);
    } else if (const std::size_t differing = DifferingBytes(*sent, *held); differing != 0) {
      job.fail(slotName + " does not hold " + t.path + " (" + std::to_string(differing) +
               " bytes differ)");
    }
  }
  job.finish(t.path + " written to " + slotName + " and verified");
}

}  // namespace

bool TransferPending(ui::Window& form1) { return form1.get<ui::CheckBox>("Check5").value() != 0; }

void RunPendingTransfer(ui::JobHost& host) {
  ui::Window& w = host.form;
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
  const platform::EntryKind kind = platform::KindOfEntry(path);
  // The tool writes a file of any size from the slot's start on, over the slots after it.
  const std::uint64_t size =
      kind == platform::EntryKind::RegularFile ? platform::RegularFileSize(path).value_or(0) : 0;
  const auto refuse = [&](const std::string& why) {
    output.replaceSelection(why + "; nothing was transferred." + std::string(exec::kOutputLineEnd));
  };
  if (kind == platform::EntryKind::Other) {
    refuse(path + " is not a regular file");
  } else if (!port) {
    refuse(exec::NotAPortAddress(typedPort));
  } else if (size > kSlotSize) {
    refuse(path + " has " + std::to_string(size) + " bytes; a slot holds " +
           std::to_string(kSlotSize) + " (32 KiB)");
  } else {
    const Transfer transfer{w.get<ui::Captioned>("Label7").caption(), *port, name, directory,
                            path};
    if (kind == platform::EntryKind::RegularFile) {
      Send(host, transfer);
    } else {
      Receive(host, transfer);
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
