#include "ui/fltk/fltk_order.h"

#include <algorithm>

namespace ui::fltk {

namespace {

// The tab index a control takes its place by; -1 when neither it nor anything in it takes
// the focus.
int FocusKey(const WindowSpec& spec, const ControlSpec& control) {
  if (control.kind != Kind::Frame) return control.tabIndex;
  int key = -1;
  for (const ControlSpec& inner : spec.controls) {
    if (inner.container != control.name || inner.name == control.name) continue;
    int innerKey = FocusKey(spec, inner);
    if (innerKey >= 0 && (key < 0 || innerKey < key)) key = innerKey;
  }
  return key;
}

}  // namespace

std::vector<const ControlSpec*> ChildOrder(const WindowSpec& spec, std::string_view container) {
  std::vector<std::pair<int, const ControlSpec*>> keyed;
  for (const ControlSpec& c : spec.controls)
    if (c.container == container && c.name != container) keyed.emplace_back(FocusKey(spec, c), &c);
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    bool aFocus = a.first >= 0;
    bool bFocus = b.first >= 0;
    if (aFocus != bFocus) return !aFocus;
    return aFocus && a.first < b.first;
  });
  std::vector<const ControlSpec*> order;
  for (const auto& entry : keyed) order.push_back(entry.second);
  return order;
}

}  // namespace ui::fltk
