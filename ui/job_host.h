// What a job (flash, SRAM transfer) needs from the main window: its controls, and how the tool
// is run from it (the application directory, the window system's waiter, the stop request).
#pragma once

#include "exec/process.h"
#include "ui/window.h"

namespace ui {

struct JobHost {
  Window& form;
  exec::RunContext run;
  // Set once the user has asked to close the window during the job: no further run starts.
  const bool& closing;
  // True while a run of the tool is in progress: a close asked for then offers to stop it.
  bool& running;
};

}  // namespace ui
