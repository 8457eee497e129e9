// "Flash" (Command4): writes the queued ROM images to the cartridge through the tool.
#pragma once

#include "ui/job_host.h"

namespace flash {

void Command4_Click(ui::JobHost& host);

// Removes what a job cut short (the program killed midway) left in the application directory:
// the multi-game image and the scratch folder of the fixes. Links are removed, never followed.
// Only while no job of this folder runs.
void RemoveJobLeftovers(std::string_view appDir);

}  // namespace flash
