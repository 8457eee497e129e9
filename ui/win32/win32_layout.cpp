#include "ui/win32/win32_layout.h"

#include <algorithm>

namespace ui::win32 {

std::vector<const ControlSpec*> CreationOrder(const WindowSpec& spec) {
  std::vector<const ControlSpec*> order;
  for (const ControlSpec& c : spec.controls)
    if (c.tabIndex >= 0) order.push_back(&c);
  std::stable_sort(order.begin(), order.end(), [](const ControlSpec* a, const ControlSpec* b) {
    return a->tabIndex < b->tabIndex;
  });
  for (const ControlSpec& c : spec.controls)
    if (c.tabIndex < 0) order.push_back(&c);
  return order;
}

Bounds WindowBounds(const WindowSpec& spec, const ControlSpec& control) {
  Bounds b = control.bounds;
  std::string_view container = control.container;
  // Frames may sit in frames; a table that names itself as its container cannot loop forever.
  for (size_t depth = 0; !container.empty() && depth < spec.controls.size(); ++depth) {
    const ControlSpec* frame = spec.find(container);
    if (!frame) break;
    b.left += frame->bounds.left;
    b.top += frame->bounds.top;
    container = frame->container;
  }
  return b;
}

bool TakesTabStop(const WindowSpec& spec, const ControlSpec& control) {
  if (control.tabIndex < 0) return false;
  switch (control.kind) {
    case Kind::Label:
    case Kind::LinkLabel:
    case Kind::Frame:
    case Kind::Image: return false;
    default: break;
  }
  const Bounds b = WindowBounds(spec, control);
  return b.top < spec.clientHeight && b.left < spec.clientWidth;
}

bool StartsGroup(const ControlSpec* previous, const ControlSpec& control) {
  if (control.kind != Kind::OptionButton) return true;
  return !previous || previous->kind != Kind::OptionButton ||
         previous->container != control.container;
}

}  // namespace ui::win32
