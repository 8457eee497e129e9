// How fast the runner moves a tool's output into an output box, measured against draining the
// same output from a pipe into nothing, and whether its cost per MiB stays flat as the output
// grows. Usage: exec_stream_bench [repetitions]   (run from the build directory)
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/folders.h"
#ifdef TELVO_BENCH_NATIVE_BOX
#include "app/form1_layout.h"
#endif
#include "exec/process.h"
#include "ui/memory/memory_text.h"
#include "ui/output_filter.h"
#include "ui/window.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Counts what arrives and keeps nothing: the runner's own cost, without the box's growth.
class CountingTextBox : public ui::TextBox {
 public:
  std::string text() const override { return {}; }
  void setText(std::string_view) override {}
  void replaceSelection(std::string_view text) override { size_ += text.size(); }
  void clearLineToCaret() override {}
  std::size_t size() const { return size_; }

 private:
  std::size_t size_ = 0;
};

// How much output a box took in.
std::size_t Received(const ui::MemoryTextBox& box) { return box.content().size(); }
std::size_t Received(const CountingTextBox& box) { return box.size(); }

// Waits as a window backend does: until the pipe is readable, with no events to run.
class IdleWaiter : public exec::Waiter {
 public:
  void processPendingEvents() override {}
  void waitForOutput(exec::PipeEnd fd) override {
    pollfd p{fd, POLLIN, 0};
    poll(&p, 1, -1);
  }
};

std::string Writer() { return platform::ApplicationDirectory() + "/telvo-test-writer"; }

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// The writer's output read into nothing, 10240 bytes at a time: the floor for any runner.
double RawDrain(std::size_t bytes) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  const std::string program = Writer();
  const std::string count = std::to_string(bytes);
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>("bytes"),
                  const_cast<char*>(count.c_str()), nullptr};
  const auto start = Clock::now();
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  std::vector<char> buffer(10240);
  std::size_t total = 0;
  for (ssize_t got; (got = read(fds[0], buffer.data(), buffer.size())) > 0;) total += got;
  close(fds[0]);
  waitpid(pid, nullptr, 0);
  const double seconds = Seconds(Clock::now() - start);
  if (total != bytes) std::abort();
  return seconds;
}

template <class Box>
double Runner(std::size_t bytes) {
  Box box;
  IdleWaiter events;
  const auto start = Clock::now();
  ui::ExecAndCapture({"telvo-test-writer", "bytes", std::to_string(bytes)}, box, nullptr,
                     exec::RunContext{platform::ApplicationDirectory(), &events});
  const double seconds = Seconds(Clock::now() - start);
  if (Received(box) != bytes) std::abort();
  return seconds;
}

#ifdef TELVO_BENCH_NATIVE_BOX
// The output box Text3 of the real main window, on the toolkit's event loop.
double NativeRunner(ui::Backend& backend, std::size_t bytes) {
  std::unique_ptr<ui::Window> window = backend.createWindow(app::Form1Spec());
  window->show();
  backend.processPendingEvents();
  ui::TextBox& box = window->get<ui::TextBox>("Text3");
  box.setText("");
  const auto start = Clock::now();
  ui::ExecAndCapture({"telvo-test-writer", "bytes", std::to_string(bytes)}, box, nullptr,
                     exec::RunContext{platform::ApplicationDirectory(), &backend});
  const double seconds = Seconds(Clock::now() - start);
  // Past its limit the box keeps only the newest output.
  const std::size_t kept = box.text().size();
  if (kept > bytes || kept < std::min(bytes, ui::kOutputKeep)) std::abort();
  window->unload();
  return seconds;
}
#endif

template <class F>
double Best(F f, std::size_t bytes, int repetitions) {
  double best = 1e9;
  for (int i = 0; i < repetitions; ++i) best = std::min(best, f(bytes));
  return best;
}

void PrintRow(const char* box, std::size_t mib, double raw, double seconds) {
  const double size = static_cast<double>(mib);
  std::printf("%-10s %5zu %12.1f %12.1f %8.2f %10.3f\n", box, mib, size / raw, size / seconds,
              raw / seconds, 1000.0 * seconds / size);
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::vector<std::size_t> sizesMiB = {1, 16, 64};
#ifdef TELVO_BENCH_NATIVE_BOX
  std::unique_ptr<ui::Backend> backend;
  if (std::getenv("DISPLAY") != nullptr) backend = ui::CreateNativeBackend();
#endif
  std::vector<double> memoryPerMiB;
  std::vector<double> nativePerMiB;
  std::printf("%-10s %5s %12s %12s %8s %10s\n", "box", "MiB", "raw MiB/s", "box MiB/s", "box/raw",
              "ms/MiB");
  for (std::size_t mib : sizesMiB) {
    const std::size_t bytes = mib << 20;
    const double raw = Best(RawDrain, bytes, repetitions);
    const double memory = Best(Runner<ui::MemoryTextBox>, bytes, repetitions);
    memoryPerMiB.push_back(memory / static_cast<double>(mib));
    PrintRow("memory", mib, raw, memory);
    PrintRow("discard", mib, raw, Best(Runner<CountingTextBox>, bytes, repetitions));
#ifdef TELVO_BENCH_NATIVE_BOX
    if (backend) {
      auto native = [&](std::size_t n) { return NativeRunner(*backend, n); };
      const double seconds = Best(native, bytes, repetitions);
      nativePerMiB.push_back(seconds / static_cast<double>(mib));
      PrintRow("fltk", mib, raw, seconds);
    }
#endif
  }
  std::printf(
      "raw: the same output drained from a pipe into nothing; memory: the runner into an "
      "in-memory output box; discard: into a box that keeps nothing; fltk: into the main "
      "window's output box\n");
  std::printf("cost per MiB at 64 MiB / at 1 MiB (goal: at most 1.5): memory %.2f",
              memoryPerMiB.back() / memoryPerMiB.front());
  if (!nativePerMiB.empty()) {
    std::printf(", fltk %.2f", nativePerMiB.back() / nativePerMiB.front());
  } else {
    std::printf(" (no native box measured: no display, or no native backend in this build)");
  }
  std::printf("\n");
  return 0;
}
