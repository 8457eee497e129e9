// One job's runs of the tool and its verdict. Every run of a job starts in JobRun::run, which
// reads its outcome from the tool's exit code and its "ERROR:" lines, never assumes it, and
// starts nothing once a run has failed; finish() writes the job's last line, "Done: ..." or
// "Failed: ...".
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "exec/command_line.h"
#include "exec/process.h"
#include "ui/job_host.h"

namespace ui {

// Whether the tool's output held a line beginning with "ERROR:", and whether it left its last
// line open. It reads the output as the runner passes it on, so a line may be split across
// chunks; a line starts after LF or CR.
class ErrorLineWatch : public exec::Output {
 public:
  // lineOpen: whether the box's last line was left open before this run.
  explicit ErrorLineWatch(bool lineOpen = false) : lineOpen_(lineOpen) {}
  void write(std::string_view chunk) override;
  bool sawErrorLine() const { return saw_; }
  // True when the output ended with anything but a line feed: the next line of the program's
  // own needs a line end before it.
  bool lineOpen() const { return lineOpen_; }

 private:
  static constexpr std::size_t kNoMatch = static_cast<std::size_t>(-1);
  std::size_t matched_ = 0;  // how much of "ERROR:" the current line began with; kNoMatch
  bool saw_ = false;
  bool lineOpen_ = false;
};

// One run of a job: the command line and what it does, in the verdict's words ("fix checksum
// on <file>", "write <file> to the cartridge").
struct JobStep {
  exec::CommandLine commandLine;
  std::string name;
  // The step that changes what the job is for (the cartridge, the slot, the file). A step
  // before it that fails leaves that unchanged, and the verdict says so.
  bool writesTarget = false;
};

// How a failed run ended, in the verdict's words: "exit code 1", "the tool reported an error
// (exit code 0)", "the tool could not be started", ...
std::string DescribeFailure(const exec::RunResult& result, bool errorLine);

class JobRun {
 public:
  // unchanged: what the verdict says when a step before the writing one fails ("nothing was
  // written to the cartridge").
  JobRun(JobHost& host, std::string unchanged) : host_(host), unchanged_(std::move(unchanged)) {}

  // Runs step into the output box unless an earlier step failed. True when it ran, exited 0
  // and printed no "ERROR:" line.
  bool run(const JobStep& step);
  bool failed() const { return failure_.has_value(); }
  // Fails the job for a reason found between runs (what: "no multi-game image was built");
  // no later step runs.
  void fail(std::string_view what);
  // What the verdict adds when a step fails once the writing step has run, instead of saying
  // the target is unchanged: where its earlier contents are kept, say.
  void noteAfterWrite(std::string note) { noteAfterWrite_ = std::move(note); }

  // The job's last line: "Done: <done>" when every step succeeded, otherwise what failed.
  void finish(std::string_view done);
  // One line of the job's own in the output box, on a line of its own.
  void say(std::string_view line);

 private:
  // "; " and what the failure leaves of the target, or nothing to add.
  std::string failureTail() const;

  JobHost& host_;
  std::string unchanged_;
  std::string noteAfterWrite_;
  bool wrote_ = false;  // the writing step has run: the target may have changed
  bool lineOpen_ = false;  // the last run left its last line open
  std::optional<std::string> failure_;  // the verdict of the step that failed
};

// One line of the program's own at the output box's caret, with the box's line end.
void SayLine(Window& form, std::string_view line);

}  // namespace ui
