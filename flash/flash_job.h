// "Flash" (Command4): writes the queued ROM images to the cartridge through the tool.
#pragma once

#include "exec/job_host.h"

namespace flash {

void Command4_Click(exec::JobHost& host);

}  // namespace flash
