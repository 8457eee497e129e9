// Start-up cost of the main window: the time from starting a process to its first painted
// window, and the process's peak resident memory, for the main window built through the FLTK
// backend and for a bare FLTK window of the same size. Each start is a fresh child process
// (this program started again with --child); the two kinds alternate and the medians are
// compared. Needs a display: run it under xvfb-run where there is none.
//   startup_bench [starts per kind, default 9]
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <FL/Fl.H>
#include <FL/Fl_Double_Window.H>
#include <FL/x.H>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/form1_layout.h"
#include "ui/window.h"

extern char** environ;

namespace {

// The first paint is done once the window has been exposed, drawn and the X server has
// carried out the drawing; then the parent is told through the pipe.
void ReportPainted(Fl_Window& window, int fd) {
  window.wait_for_expose();
  Fl::flush();
  XSync(fl_display, False);
  (void)!write(fd, "p", 1);
}

int RunChild(const std::string& kind, int fd) {
  if (kind == "bare") {
    Fl_Double_Window window(ui::TwipsToPixels(app::Form1Spec().clientWidth),
                            ui::TwipsToPixels(app::Form1Spec().clientHeight), "bare");
    window.end();
    window.show();
    ReportPainted(window, fd);
    return 0;
  }
  std::unique_ptr<ui::Backend> backend = ui::CreateNativeBackend();
  std::unique_ptr<ui::Window> window = backend->createWindow(app::Form1Spec());
  window->show();
  ReportPainted(*Fl::first_window(), fd);
  return 0;
}

struct Sample {
  double ms = 0;
  double mib = 0;
};

bool StartOnce(const char* self, const char* kind, Sample& sample) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  std::string fdText = std::to_string(fds[1]);
  const char* argv[] = {self, "--child", kind, fdText.c_str(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);

  auto started = std::chrono::steady_clock::now();
  pid_t pid = 0;
  int rc = posix_spawn(&pid, self, &actions, nullptr, const_cast<char**>(argv), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(fds[1]);
  if (rc != 0) {
    close(fds[0]);
    return false;
  }
  char c = 0;
  bool painted = read(fds[0], &c, 1) == 1;
  auto painting = std::chrono::steady_clock::now();
  close(fds[0]);

  int status = 0;
  rusage usage{};
  wait4(pid, &status, 0, &usage);
  sample.ms = std::chrono::duration<double, std::milli>(painting - started).count();
  sample.mib = usage.ru_maxrss / 1024.0;
  return painted && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--child") == 0)
    return RunChild(argv[2], std::atoi(argv[3]));
  if (!std::getenv("DISPLAY")) {
    std::fprintf(stderr, "startup_bench: no X display (run it under xvfb-run)\n");
    return 1;
  }
  const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const char* self = "/proc/self/exe";
  std::vector<double> formMs, bareMs, formMib, bareMib;
  for (int i = 0; i < starts; ++i) {
    Sample form, bare;
    if (!StartOnce(self, "bare", bare) || !StartOnce(self, "form1", form)) {
      std::fprintf(stderr, "startup_bench: a child failed\n");
      return 1;
    }
    formMs.push_back(form.ms);
    bareMs.push_back(bare.ms);
    formMib.push_back(form.mib);
    bareMib.push_back(bare.mib);
  }
  const double form = Median(formMs);
  const double bare = Median(bareMs);
  std::printf("first paint, median of %d starts: main window %.1f ms, bare window %.1f ms, "
              "ratio %.2f (goal 1.5 or less)\n",
              starts, form, bare, form / bare);
  std::printf("peak resident memory: main window %.1f MiB, bare window %.1f MiB "
              "(goal under 20 MiB)\n",
              Median(formMib), Median(bareMib));
  return 0;
}
