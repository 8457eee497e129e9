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
  // Runs one command line through the captured process runner into cTextBox; returns how the
  // tool ended.
  virtual exec::RunResult ExecAndCapture(const exec::CommandLine& sCommandLine,
                                         TextBox& cTextBox,
                                         const std::string* sStartInFolder) = 0;
};

}  // namespace ui
