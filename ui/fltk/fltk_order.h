// The order in which a container's controls become FLTK children. FLTK draws children in
// this order and moves the focus through them in this order, so the controls that take no
// focus come first (drawn beneath the others) and the rest follow by tab index. A frame
// stands in the order at the tab index of its first focusable control, so Tab runs through
// the frame's controls at their place in the window's tab order.
#pragma once

#include <string_view>
#include <vector>

#include "ui/layout.h"

namespace ui::fltk {

std::vector<const ControlSpec*> ChildOrder(const WindowSpec& spec, std::string_view container);

}  // namespace ui::fltk
