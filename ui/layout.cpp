#include "ui/layout.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// The tab index a control takes its place by; -1 when neither it nor anything in it takes
// the focus.
int FocusKey(const WindowSpec& spec, const ControlSpec& control, std::size_t depth = 0) {
  if (control.kind != Kind::Frame) return control.tabIndex;
  int key = -1;
  // A table whose frames hold each other cannot recurse forever.
  if (depth > spec.controls.size()) return key;
  for (const ControlSpec& inner : spec.controls) {
    if (inner.container != control.name || inner.name == control.name) continue;
    int innerKey = FocusKey(spec, inner, depth + 1);
    if (innerKey >= 0 && (key < 0 || innerKey < key)) key = innerKey;
  }
  return key;
}

}  // namespace

int TwipsToPixels(int twips, int dpi) {
  // Down to the pixel the edge starts in, as the tables were always laid out at 96 dpi (a
  // control 1000 twips wide there is 66 pixels, wherever it starts).
  const long long scaled = static_cast<long long>(twips) * dpi;
  const long long down = scaled >= 0 ? scaled / kTwipsPerInch
                                     : -((-scaled + kTwipsPerInch - 1) / kTwipsPerInch);
  return static_cast<int>(down);
}

int PointsToPixels(double points, int dpi) {
  return static_cast<int>(std::lround(points * dpi / 72.0));
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

PixelRect PixelBounds(const WindowSpec& spec, const ControlSpec& control, int dpi) {
  const Bounds b = WindowBounds(spec, control);
  const int left = TwipsToPixels(b.left, dpi);
  const int top = TwipsToPixels(b.top, dpi);
  return {left, top, TwipsToPixels(b.left + b.width, dpi) - left,
          TwipsToPixels(b.top + b.height, dpi) - top};
}

PixelRect ClientPixels(const WindowSpec& spec, int dpi) {
  return {0, 0, TwipsToPixels(spec.clientWidth, dpi), TwipsToPixels(spec.clientHeight, dpi)};
}

std::vector<const ControlSpec*> TabOrder(const WindowSpec& spec) {
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

bool TakesTabStop(const WindowSpec& spec, const ControlSpec& control) {
  if (control.tabIndex < 0) return false;
  switch (control.kind) {
    case Kind::Label:
    case Kind::LinkLabel:
    case Kind::Frame:
    case Kind::Image: return false;
    default: break;
  }
  return !OutsideClient(spec, control);
}

bool OutsideClient(const WindowSpec& spec, const ControlSpec& control) {
  const Bounds b = WindowBounds(spec, control);
  return b.top >= spec.clientHeight || b.left >= spec.clientWidth;
}

bool StartsGroup(const ControlSpec* previous, const ControlSpec& control) {
  if (control.kind != Kind::OptionButton) return true;
  return !previous || previous->kind != Kind::OptionButton ||
         previous->container != control.container;
}

std::vector<const ControlSpec*> OtherOptions(const WindowSpec& spec, const ControlSpec& control) {
  std::vector<const ControlSpec*> others;
  if (control.kind != Kind::OptionButton) return others;
  for (const ControlSpec& c : spec.controls)
    if (&c != &control && c.kind == Kind::OptionButton && c.container == control.container)
      others.push_back(&c);
  return others;
}

}  // namespace ui
