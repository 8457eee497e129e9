// What a job (flash, SRAM transfer) needs from the main window: its controls, the application
// directory, and the runner that streams the tool's output into the output box.
#pragma once

#include <string>
#include <string_view>

#include "exec/command_line.h"
#include "exec/process.h"
#include "ui/window.h"

namespace ui {

class JobHost {
 public:
  virtual ~JobHost() = default;
  virtual Window& form() = 0;
  virtual const std::string& appDir() const = 0;
  // Runs one command line through the captured process runner into cTextBox; listener, when
  // not null, reads the output along. Returns how the tool ended. Jobs run the tool through
  // a JobRun (ui/job_run.h), which calls this.
  virtual exec::RunResult ExecAndCapture(const exec::CommandLine& sCommandLine,
                                         TextBox& cTextBox, const std::string* sStartInFolder,
                                         exec::Output* listener) = 0;
  // True once the user has asked to close the window during the job: no further run starts.
  virtual bool closing() const { return false; }
};

}  // namespace ui
