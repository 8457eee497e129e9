// telvo-flash: writes Genesis/Mega Drive ROM images to the Telvo flash cartridge and moves its
// SRAM save slots, through the command-line tool ucon64.
#include "app/form1.h"
#include "platform/folders.h"
#include "ui/window.h"

int main() {
  std::unique_ptr<ui::Backend> backend = ui::CreateNativeBackend();
  if (!backend) return 1;
  app::Form1 form1(*backend, {platform::ApplicationDirectory()});
  form1.Form_Load();
  backend->run();
  return 0;
}
