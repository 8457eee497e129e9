// A tool that prints without end, streamed through the runner into the real main window's
// output box for a while: how much memory the program holds meanwhile, how much text the box
// keeps, and how long the window's events waited at most.
// Usage: output_cap_bench [seconds]   (run from the build directory, on a display: xvfb-run)
#include <FL/Fl.H>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/form1_layout.h"
#include "exec/process.h"
#include "platform/folders.h"
#include "ui/output_filter.h"
#include "ui/window.h"

namespace {

using Clock = std::chrono::steady_clock;

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM").
long StatusKiB(const std::string& key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1);
  }
  return -1;
}

double MiB(long kib) { return static_cast<double>(kib) / 1024.0; }

// The longest time between two turns of the window's timer, which should come every 50 ms.
struct Latency {
  Clock::time_point last = Clock::now();
  double longest = 0;
  static void Tick(void* self) {
    auto* me = static_cast<Latency*>(self);
    const auto now = Clock::now();
    me->longest = std::max(me->longest, std::chrono::duration<double>(now - me->last).count());
    me->last = now;
    Fl::repeat_timeout(0.05, Tick, self);
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
  if (std::getenv("DISPLAY") == nullptr) {
    std::printf("output_cap_bench: needs a display (run it under xvfb-run)\n");
    return 1;
  }
  std::unique_ptr<ui::Backend> backend = ui::CreateNativeBackend();
  std::unique_ptr<ui::Window> window = backend->createWindow(app::Form1Spec());
  window->show();
  backend->processPendingEvents();
  ui::TextBox& box = window->get<ui::TextBox>("Text3");
  box.setText("");
  const long startRss = StatusKiB("VmRSS");

  // Sampled from a thread of its own, so a busy window cannot hide a peak.
  std::atomic<bool> done{false};
  std::mutex samplesLock;
  std::vector<long> samples;
  std::thread sampler([&] {
    while (!done) {
      {
        std::lock_guard<std::mutex> lock(samplesLock);
        samples.push_back(StatusKiB("VmRSS"));
      }
      std::this_thread::sleep_for(std::chrono::seconds(1));
    }
  });

  Latency latency;
  Fl::add_timeout(0.05, Latency::Tick, &latency);
  const auto start = Clock::now();
  ui::ExecAndCapture({"telvo-test-writer", "flood", std::to_string(seconds * 1000)}, box, nullptr,
                     exec::RunContext{platform::ApplicationDirectory(), backend.get()});
  const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
  Fl::remove_timeout(Latency::Tick, &latency);
  done = true;
  sampler.join();
  const long peak = StatusKiB("VmHWM");  // before the copy of the box's text below

  const std::string text = box.text();
  const std::size_t tail = text.rfind("flood: ");
  const unsigned long long written =
      tail == std::string::npos ? 0 : std::strtoull(text.c_str() + tail + 7, nullptr, 10);
  long peakSample = 0;
  for (long kib : samples) peakSample = std::max(peakSample, kib);
  std::printf("child printing as fast as it can for %d s, through the main window's output box\n",
              seconds);
  std::printf("run took %.1f s; the child wrote %.1f MiB (%.1f MiB/s); the box keeps %.1f MiB "
              "(limit %zu MiB, keeps at least %zu MiB)\n",
              elapsed, static_cast<double>(written) / 1048576.0,
              static_cast<double>(written) / 1048576.0 / elapsed,
              static_cast<double>(text.size()) / 1048576.0, ui::kOutputLimit >> 20,
              ui::kOutputKeep >> 20);
  std::printf("RSS: %.1f MiB before, %.1f MiB at the end, peak sampled %.1f MiB, peak (VmHWM) "
              "%.1f MiB\n",
              MiB(startRss), MiB(samples.empty() ? -1 : samples.back()), MiB(peakSample),
              MiB(peak));
  std::printf("RSS every 10 s (MiB):");
  for (std::size_t i = 0; i < samples.size(); i += 10) std::printf(" %.1f", MiB(samples[i]));
  std::printf("\nlongest wait of the window's 50 ms timer: %.0f ms\n", latency.longest * 1000);
  window->unload();
  return 0;
}
