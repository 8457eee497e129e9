// Window layouts as data. Every window of the program is one WindowSpec whose controls are a
// table of ControlSpec rows; a backend turns the table into real controls. Positions and sizes
// are in twips, relative to the client area of the control's container (the window or a frame).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ui {

inline constexpr int kTwipsPerPixel = 15;
constexpr int TwipsToPixels(int twips) { return twips / kTwipsPerPixel; }

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
  int maximum = 0;
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

  const ControlSpec* find(std::string_view controlName) const {
    for (const ControlSpec& c : controls)
      if (c.name == controlName) return &c;
    return nullptr;
  }
};

}  // namespace ui
