#include "ui/output_filter.h"

namespace ui {

std::vector<OutputFilter::Step> OutputFilter::feed(std::string_view chunk) {
  std::vector<Step> steps(1);
  for (char c : chunk) {
    if (pendingReturn_) {
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

}  // namespace ui
