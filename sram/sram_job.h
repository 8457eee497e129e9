// The SRAM transfer that the SRAM dialog leaves pending in the main window's request fields
// (Check5, Text4, Text5); run from the main window's activation.
#pragma once

#include "ui/job_host.h"

namespace sram {

// True when the SRAM dialog has left a request (Check5 set).
bool TransferPending(ui::Window& form1);

// Returns the request fields to idle without running anything.
void DropPendingTransfer(ui::Window& form1);

// Runs a pending request once and returns the fields to idle; nothing when none is pending.
void RunPendingTransfer(ui::JobHost& host);

}  // namespace sram
