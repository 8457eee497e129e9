#include "sram/sram_job.h"

#include <string>

#include "exec/tool_commands.h"

namespace sram {

bool TransferPending(ui::Window& form1) { return form1.get<ui::CheckBox>("Check5").value() != 0; }

void RunPendingTransfer(exec::JobHost& host) {
  ui::Window& w = host.form();
  if (!TransferPending(w)) return;
  // The tool decides the direction: an existing file goes to the slot, otherwise the slot is
  // saved into the file.
  const std::string command = exec::SramCommand(
      w.get<ui::Captioned>("Label7").caption(), w.get<ui::TextBox>("Text2").text(),
      w.get<ui::TextBox>("Text4").text(), w.get<ui::TextBox>("Text5").text());
  host.ExecAndCapture(command, w.get<ui::TextBox>("Text3"), nullptr);
  w.get<ui::CheckBox>("Check5").setValue(0);
  w.get<ui::TextBox>("Text4").setText("");
  w.get<ui::TextBox>("Text5").setText("");
}

}  // namespace sram
