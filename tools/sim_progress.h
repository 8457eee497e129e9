// The progress line of a simulated transfer: one line of about 70 characters, rewritten in
// place with a carriage return after every chunk the tool sends, as a terminal shows it:
//   "\r    131072 Bytes [======------------------] 25%, BPS=153600, ETA=00:02  "
// and, when all is sent, the time the transfer took:
//   "\r    524288 Bytes [========================] 100%, BPS=153600, TOTAL=00:03"
// No colours, whatever the output is. The caller ends the line.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace sim {

class Console;

// The line for done of total bytes, at bytesPerSecond, with seconds left (or, when done is the
// total, taken), shown as minutes:seconds, at most 99:59.
std::string ProgressLine(std::size_t done, std::size_t total, std::size_t bytesPerSecond,
                         std::size_t seconds);

// Prints the progress of one transfer and paces it to the simulated speed. The speed shown is
// the pace kept, or the measured one when the simulation does not wait.
class Progress {
 public:
  Progress(std::size_t total, unsigned kibPerSecond, Console& console);
  // The line for done bytes, once the simulated speed allows them.
  void advance(std::size_t done);

 private:
  using Clock = std::chrono::steady_clock;

  std::size_t total_;
  Console& console_;
  Clock::time_point start_;
  double secondsPerByte_ = 0;
};

}  // namespace sim
