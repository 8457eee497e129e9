// "Flash" (Command4): writes the queued ROM images to the cartridge through the tool.
#pragma once

#include "ui/job_host.h"

namespace flash {

void Command4_Click(ui::JobHost& host);

}  // namespace flash
