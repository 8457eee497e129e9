#include "ui/output_filter.h"

#include "ui/window.h"

namespace ui {

std::vector<OutputFilter::Step> OutputFilter::feed(std::string_view chunk) {
  std::vector<Step> steps(1);
  for (char c : chunk) {
    if (pendingReturn_) {
      // A carriage return only goes back to the line's start: more of them change nothing,
      // and a line feed after them ends the line with its text kept (a Windows program's
      // "\r\n" through a text-mode stream arrives as CR CR LF).
      if (c == '\r') continue;
      pendingReturn_ = false;
      if (c == '\n') {
        steps.back().text += "\r\n";
        continue;
      }
      // A line rewritten again before any text came replaces it only once.
      if (!(steps.back().clearLine && steps.back().text.empty())) steps.push_back({true, {}});
    }
    if (c == '\r')
      pendingReturn_ = true;
    else
      steps.back().text += c;
  }
  if (!steps.front().clearLine && steps.front().text.empty()) steps.erase(steps.begin());
  return steps;
}

exec::RunResult ExecAndCapture(const exec::CommandLine& sCommandLine, TextBox& cTextBox,
                               const std::string* sStartInFolder,
                               const exec::RunContext& context, exec::Output* listener) {
  TerminalOutput output(cTextBox, listener);
  return exec::ExecAndCapture(sCommandLine, output, sStartInFolder, context);
}

std::size_t LineStart(std::string_view text, std::size_t pos) {
  if (pos == 0) return 0;
  const std::size_t newline = text.rfind('\n', pos - 1);
  return newline == std::string_view::npos ? 0 : newline + 1;
}

void TerminalOutput::write(std::string_view chunk) {
  if (listener_ != nullptr) listener_->write(chunk);
  for (const OutputFilter::Step& step : filter_.feed(chunk)) {
    if (step.clearLine) box_.clearLineToCaret();
    if (!step.text.empty()) box_.replaceSelection(step.text);
  }
}

}  // namespace ui
