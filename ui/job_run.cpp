#include "ui/job_run.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "exec/remedies.h"
#include "ui/output_filter.h"

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

// A run's output passed on to the watch, and its start kept for the remedy table: the tool
// says why it cannot use the port or find the cartridge before it transfers anything.
class RunText : public exec::Output {
 public:
  explicit RunText(ErrorLineWatch& watch) : watch_(watch) {}
  void write(std::string_view chunk) override {
    watch_.write(chunk);
    start_.append(chunk.substr(0, kKept - std::min(kKept, start_.size())));
  }
  const std::string& start() const { return start_; }

 private:
  static constexpr std::size_t kKept = 64u << 10;
  ErrorLineWatch& watch_;
  std::string start_;
};

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
  if (host_.closing) {
    std::string verdict = "Failed: the window was closed before " + step.name +
                          "; it and any step after it did not run";
    if (!unchanged_.empty()) verdict += "; " + unchanged_;
    failure_ = verdict + ".";
    return false;
  }
  ErrorLineWatch watch(lineOpen_);
  RunText text(watch);
  host_.running = true;
  const exec::RunResult result = ExecAndCapture(step.commandLine, host_.form.get<TextBox>("Text3"),
                                                /*sStartInFolder=*/nullptr, host_.run, &text);
  host_.running = false;
  const bool exitedZero = result.ending == exec::RunResult::Ending::Exited && result.code == 0;
  lineOpen_ = watch.lineOpen();
  // A writing step that could not start has written nothing either.
  if (step.writesTarget && result.ending != exec::RunResult::Ending::NotStarted) wrote_ = true;
  if (exitedZero && !watch.sawErrorLine()) return true;
  failure_ = "Failed: " + step.name + ": " + DescribeFailure(result, watch.sawErrorLine()) +
             failureTail() + ".";
  const std::optional<std::uint32_t> status =
      result.ending == exec::RunResult::Ending::Exited
          ? std::optional<std::uint32_t>(static_cast<std::uint32_t>(result.code))
          : std::nullopt;
  if (const auto remedy = exec::RemedyFor(text.start(), status)) say(*remedy);
  return false;
}

void JobRun::fail(std::string_view what) {
  if (!failed()) failure_ = "Failed: " + std::string(what) + failureTail() + ".";
}

std::string JobRun::failureTail() const {
  if (!wrote_) return "; " + unchanged_;
  return noteAfterWrite_.empty() ? std::string() : "; " + noteAfterWrite_;
}

void JobRun::finish(std::string_view done) {
  say(failure_ ? *failure_ : "Done: " + std::string(done));
}

void JobRun::say(std::string_view line) {
  // Also after a tool's last line that lacks its line end, or a progress line ended by CR.
  std::string text = lineOpen_ ? std::string(exec::kOutputLineEnd) : std::string();
  text += line;
  text += exec::kOutputLineEnd;
  host_.form.get<TextBox>("Text3").replaceSelection(text);
  lineOpen_ = false;
}

void SayLine(Window& form, std::string_view line) {
  form.get<TextBox>("Text3").replaceSelection(std::string(line) +
                                              std::string(exec::kOutputLineEnd));
}

}  // namespace ui
