// Window layouts as data. Every window of the program is one WindowSpec whose controls are a
// table of ControlSpec rows; a backend turns the table into real controls. Positions and sizes
// are in twips, relative to the client area of the control's container (the window or a frame).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace ui {

// The resolution the tables were drawn at: 15 twips make a pixel at 96 dots per inch.
inline constexpr int kBaseDpi = 96;
inline constexpr int kTwipsPerInch = 1440;

enum class Kind {
  Label,           // static text
  LinkLabel,       // label that reacts to a click (underlined font, own colour)
  Button,
  Frame,           // group box with a caption; holds other controls
  CheckBox,
  OptionButton,    // radio button; one group per container
  TextBox,         // single line, editable
  MultiLineText,   // multi line, vertical scroll bar, editable
  ListBox,         // unsorted, single selection
  DriveList,
  DirList,
  FileList,
  VScrollBar,
  Image,           // the logo, stretched to the control's size
};

struct Font {
  double points = 9;   // "Terminal" at 9, 6 or 13.5 point
  int weight = 400;    // 400 regular, 700 bold
  bool underline = false;
};

inline constexpr Font kDefaultFont{};
inline constexpr Font kFont6Bold{6, 700, false};
inline constexpr Font kFont6BoldUnderlined{6, 700, true};
inline constexpr Font kFont9Bold{9, 700, false};
inline constexpr Font kFont135{13.5, 400, false};
inline constexpr Font kFont135Bold{13.5, 700, false};

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// RGB as 0x00RRGGBB; kSystemColour leaves the platform's default.
inline constexpr std::uint32_t kSystemColour = 0xFFFFFFFFu;

enum class Align { Left, Centre };

struct ControlSpec {
  std::string_view name;
  Kind kind;
  std::string_view caption;    // caption, or initial text of a text box
  std::string_view container;  // empty: the window itself; otherwise the name of a Frame
  Bounds bounds;
  Font font = kDefaultFont;
  int tabIndex = -1;           // -1: takes no focus
  std::uint32_t foreColour = kSystemColour;
  bool border = false;         // single-line border (labels)
  Align align = Align::Left;
  int minimum = 0;             // scroll bar range
  int maximum = 0;             // and, in a multi-line text box, its output limit in bytes
                               // (0: kOutputLimit, ui/output_filter.h)
};

// A value the window holds under a control's name without a visible control (see
// ui/stored_values.h): a list box, check box or single-line text box.
struct StoredSpec {
  std::string_view name;
  Kind kind;
  std::string_view initial{};  // a text box's initial text
};

struct WindowSpec {
  std::string_view name;
  std::string_view caption;  // UTF-8
  int clientWidth = 0;       // twips
  int clientHeight = 0;      // twips
  bool sizable = false;      // false: fixed single border, no minimize or maximize button
  bool centred = false;      // true: centred on the screen; false: the window system places it
  bool hasIcon = false;      // the program's own icon
  Font defaultFont = kDefaultFont;
  std::span<const ControlSpec> controls;
  std::span<const StoredSpec> stored{};

  const ControlSpec* find(std::string_view controlName) const {
    for (const ControlSpec& c : controls)
      if (c.name == controlName) return &c;
    return nullptr;
  }
};

// --- What follows from a window's table alone, the same for every backend ---

// One edge (left, top, right or bottom) in pixels at dpi, rounded down to a pixel. Sizes
// are the difference of two rounded edges, so controls that meet in twips meet in pixels, and
// controls that do not overlap in twips do not overlap in pixels.
int TwipsToPixels(int twips, int dpi = kBaseDpi);
// A font's character height in pixels at dpi: 9 point is 12 pixels at 96, 18 at 144.
int PointsToPixels(double points, int dpi = kBaseDpi);

struct PixelRect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

// The control's bounds in the window's client area, in twips: frames may hold frames, and a
// control in a frame is placed relative to the frame's top-left corner.
Bounds WindowBounds(const WindowSpec& spec, const ControlSpec& control);
// The same in pixels of the client area at dpi, edges rounded once.
PixelRect PixelBounds(const WindowSpec& spec, const ControlSpec& control, int dpi);
// The client area in pixels at dpi.
PixelRect ClientPixels(const WindowSpec& spec, int dpi);

// Whether the control lies wholly below or right of the client area, where nobody sees it.
bool OutsideClient(const WindowSpec& spec, const ControlSpec& control);

// Controls with a tab position in tab order, then the others in table order.
std::vector<const ControlSpec*> TabOrder(const WindowSpec& spec);

// The controls of one container (empty: the window), those that take no focus first in table
// order, then the rest by tab index. A frame stands at the tab index of its first focusable
// control, so walking the containers in this order meets the focusable controls in tab order.
std::vector<const ControlSpec*> ChildOrder(const WindowSpec& spec, std::string_view container);

// A control the keyboard can reach: it has a tab position, is of a kind that takes the focus,
// and lies inside the client area.
bool TakesTabStop(const WindowSpec& spec, const ControlSpec& control);

// In tab order: an option button continues the group of an option button of the same container
// just before it; every other control starts a new group, which also ends the one before it.
bool StartsGroup(const ControlSpec* previous, const ControlSpec& control);

// The option buttons that selecting control clears: the others of its container.
std::vector<const ControlSpec*> OtherOptions(const WindowSpec& spec, const ControlSpec& control);

}  // namespace ui
