// The progress line of a simulated transfer: one line of about 70 characters, rewritten in
// place with a carriage return after every 16 KiB, as a terminal shows it:
//   "\r    131072 Bytes [======------------------]  25%, BPS=153600, ETA=00:02"
// No colours, whatever the output is.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace sim {

class Console;

constexpr std::size_t kProgressStep = 16u << 10;

// The line for done of total bytes, at bytesPerSecond, with etaSeconds left (shown as
// minutes:seconds, at most 99:59).
std::string ProgressLine(std::size_t done, std::size_t total, std::size_t bytesPerSecond,
                         std::size_t etaSeconds);

// Prints the progress of one transfer and paces it to the simulated speed. The speed shown is
// the pace kept, or the measured one when the simulation does not wait.
class Progress {
 public:
  Progress(std::size_t total, unsigned kibPerSecond, Console& console);
  // Every step up to the total, then the line end.
  void run();

 private:
  using Clock = std::chrono::steady_clock;
  void advance(std::size_t done);

  std::size_t total_;
  Console& console_;
  Clock::time_point start_;
  double secondsPerByte_ = 0;
};

}  // namespace sim
