#include "tools/sim_progress.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "tools/sim_cartridge.h"

namespace sim {
namespace {

constexpr std::size_t kBarWidth = 24;
constexpr double kLongestTransferSeconds = 30.0;  // a demonstration never waits longer

}  // namespace

std::string ProgressLine(std::size_t done, std::size_t total, std::size_t bytesPerSecond,
                         std::size_t seconds) {
  const std::size_t percent = total == 0 ? 100 : done * 100 / total;
  const std::size_t filled = total == 0 ? kBarWidth : done * kBarWidth / total;
  const std::string bar = std::string(filled, '=') + std::string(kBarWidth - filled, '-');
  const std::size_t shown = std::min<std::size_t>(seconds, 99 * 60 + 59);
  const bool finished = done >= total;
  char line[128];
  std::snprintf(line, sizeof line, "\r%10zu Bytes [%s] %zu%%, BPS=%zu, %s=%02zu:%02zu%s", done,
                bar.c_str(), percent, bytesPerSecond, finished ? "TOTAL" : "ETA", shown / 60,
                shown % 60, finished ? "" : "  ");
  return line;
}

Progress::Progress(std::size_t total, unsigned kibPerSecond, Console& console)
    : total_(total), console_(console), start_(Clock::now()) {
  if (kibPerSecond == 0 || total == 0) return;
  const double seconds = static_cast<double>(total) / (1024.0 * kibPerSecond);
  secondsPerByte_ = std::min(seconds, kLongestTransferSeconds) / static_cast<double>(total);
}

void Progress::advance(std::size_t done) {
  if (secondsPerByte_ > 0) {
    std::this_thread::sleep_until(
        start_ + std::chrono::duration_cast<Clock::duration>(
                     std::chrono::duration<double>(secondsPerByte_ * static_cast<double>(done))));
  }
  // The pace actually kept (a long transfer is shortened), or the measured one without waiting.
  std::size_t bytesPerSecond = 0;
  if (secondsPerByte_ > 0) {
    bytesPerSecond = static_cast<std::size_t>(1.0 / secondsPerByte_);
  } else {
    const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    bytesPerSecond = elapsed > 0 ? static_cast<std::size_t>(static_cast<double>(done) / elapsed)
                                 : done;
  }
  const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
  const std::size_t seconds = done >= total_ ? static_cast<std::size_t>(elapsed + 0.5)
                              : bytesPerSecond == 0 ? 0
                                                    : (total_ - done) / bytesPerSecond;
  console_.out(ProgressLine(done, total_, bytesPerSecond, seconds));
}

}  // namespace sim
