#include "ui/job_run.h"

#include <cstdio>

namespace ui {

namespace {

constexpr std::string_view kErrorPrefix = "ERROR:";

// A Windows crash status (0xC0000005 and the like) reads as the system writes it.
std::string ExitCodeText(int code) {
  if (code >= 0 && code < 0x10000) return std::to_string(code);
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08X", static_cast<unsigned>(code));
  return hex;
}

}  // namespace

void ErrorLineWatch::write(std::string_view chunk) {
  if (!chunk.empty()) lineOpen_ = chunk.back() != '\n';
  for (char c : chunk) {
    if (c == '\n' || c == '\r') {
      matched_ = 0;
    } else if (matched_ != kNoMatch) {
      matched_ = c == kErrorPrefix[matched_] ? matched_ + 1 : kNoMatch;
      if (matched_ == kErrorPrefix.size()) {
        saw_ = true;
        matched_ = kNoMatch;
      }
    }
  }
}

std::string DescribeFailure(const exec::RunResult& result, bool errorLine) {
  using Ending = exec::RunResult::Ending;
  switch (result.ending) {
    case Ending::NotStarted:
      return "the tool could not be started";
    case Ending::Signalled:
      return "the tool was ended by signal " + std::to_string(result.code);
    case Ending::Stopped:
      return "stopped by the user";
    case Ending::Exited:
      break;
  }
  const std::string code = "exit code " + ExitCodeText(result.code);
  return errorLine ? "the tool reported an error (" + code + ")" : code;
}

bool JobRun::run(const JobStep& step) {
  if (failed()) return false;
  // The user closed the window to end the job: the run in progress has finished, nothing more
  // starts, and the verdict says where the job stopped.
  if (host_.closing()) {
    std::string verdict = "Failed: the window was closed before " + step.name +
                          "; it and any step after it did not run";
    if (!unchanged_.empty()) verdict += "; " + unchanged_;
    failure_ = verdict + ".";
    return false;
  }
  ErrorLineWatch watch(lineOpen_);
  const exec::RunResult result = host_.ExecAndCapture(
      step.commandLine, host_.form().get<TextBox>("Text3"), /*sStartInFolder=*/nullptr, &watch);
  const bool exitedZero = result.ending == exec::RunResult::Ending::Exited && result.code == 0;
  lineOpen_ = watch.lineOpen();
  if (exitedZero && !watch.sawErrorLine()) return true;
  std::string verdict = "Failed: " + step.name + ": " + DescribeFailure(result, watch.sawErrorLine());
  // A writing step that could not start has written nothing either.
  if (!step.writesTarget || result.ending == exec::RunResult::Ending::NotStarted)
    verdict += "; " + unchanged_;
  failure_ = verdict + ".";
  return false;
}

void JobRun::fail(std::string_view what) {
  if (!failed()) failure_ = "Failed: " + std::string(what) + "; " + unchanged_ + ".";
}

void JobRun::finish(std::string_view done) {
  say(failure_ ? *failure_ : "Done: " + std::string(done));
}

void JobRun::say(std::string_view line) {
  // Also after a tool's last line that lacks its line end, or a progress line ended by CR.
  std::string text = lineOpen_ ? std::string(exec::kOutputLineEnd) : std::string();
  text += line;
  text += exec::kOutputLineEnd;
  host_.form().get<TextBox>("Text3").replaceSelection(text);
  lineOpen_ = false;
}

}  // namespace ui
