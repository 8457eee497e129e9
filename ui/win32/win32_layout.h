// How a window's table becomes native controls, decided without any native call: the order of
// creation (which is the tab order), the positions in the window's client area, and which
// controls take part in keyboard navigation.
#pragma once

#include <vector>

#include "ui/layout.h"

namespace ui::win32 {

// Controls with a tab position first, in tab order; then the others in table order. The
// dialog manager tabs through controls in creation order.
std::vector<const ControlSpec*> CreationOrder(const WindowSpec& spec);

// The control's bounds in the window's client area, in twips: a frame's children are placed
// relative to the frame's outer top-left corner and become children of the window itself.
Bounds WindowBounds(const WindowSpec& spec, const ControlSpec& control);

// A control the keyboard can reach: it has a tab position, can take the focus, and lies in the
// client area. Controls below the client area are storage the user must never reach.
bool TakesTabStop(const WindowSpec& spec, const ControlSpec& control);

// An option button that is not the first of its container's run in creation order continues
// that group; every other control starts a new one, which also ends the option group before it.
bool StartsGroup(const ControlSpec* previous, const ControlSpec& control);

}  // namespace ui::win32
