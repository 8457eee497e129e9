#include "app/form1_layout.h"

#include <array>

namespace app {

namespace {

using ui::Align;
using ui::ControlSpec;
using ui::Kind;

constexpr std::uint32_t kNavy = 0x000080;
constexpr std::uint32_t kLinkBlue = 0x0000C0;

#define MAKERS_NOTICE "(C) 2026 Vostrik Software"

// "ß" is U+00DF; the program's text is UTF-8.
constexpr std::string_view kCaption =
    "TELVO FLASH UTILITY V1.13 public \xC3\x9F" "eta for Windows 95 and up " MAKERS_NOTICE;

constexpr std::string_view kCredits =
    "Made for use with Orbiton's TELVO cartridge!!  Many special thanks to the following "
    "people:          Ann Example, Bo Sample and Cy Placeholder";

constexpr std::string_view kSramNote =
    "Note on how this works: After pushing the button above, you are prompted for a filename."
    "                              "
    "If the specified file exists, the data will be written to selected slot. If the file "
    "doesn't exist, the data fom selected slot will be saved to the specified file.";

// clang-format off
constexpr std::array kControls = {
  //           name        kind                caption                         in        left  top    width  height  font                      tab
  ControlSpec{"Dir1",     Kind::DirList,      "",                             "",       {0,    0,     2655,  2610},  ui::kFont9Bold,           0},
  ControlSpec{"Drive1",   Kind::DriveList,    "",                             "",       {0,    2640,  2655,  240},   ui::kFont6Bold,           1},
  ControlSpec{"File1",    Kind::FileList,     "",                             "",       {2640, 0,     6495,  2610},  ui::kDefaultFont,         2},
  ControlSpec{"Text1",    Kind::TextBox,      "",                             "",       {2640, 2630,  6495,  270},   ui::kDefaultFont,         10},
  ControlSpec{"Label1",   Kind::Label,        MAKERS_NOTICE,                  "",       {120,  3000,  4215,  300},   ui::kFont135Bold,         -1, kNavy},
  ControlSpec{"Label2",   Kind::Label,        kCredits,                       "",       {120,  3435,  4215,  420},   ui::kFont6Bold,           -1, ui::kSystemColour, /*border=*/true},
  ControlSpec{"Command1", Kind::Button,       "Add to list",                  "",       {4440, 3000,  1815,  855},   ui::kFont135,             3},
  ControlSpec{"Image1",   Kind::Image,        "",                             "",       {6240, 2880,  2895,  1530}},
  ControlSpec{"Label3",   Kind::Label,        "Options",                      "",       {1920, 3960,  2655,  375},   ui::kFont135Bold,         -1, ui::kSystemColour, false, Align::Centre},
  ControlSpec{"Check1",   Kind::CheckBox,     "Fix unlicensed games",         "",       {120,  4320,  2775,  255},   ui::kFont6Bold,           12},
  ControlSpec{"Check2",   Kind::CheckBox,     "Fix checksum",                 "",       {3480, 4320,  2775,  255},   ui::kFont6Bold,           13},
  ControlSpec{"Check3",   Kind::CheckBox,     "Enforce Genesis/MD format",    "",       {120,  4680,  2775,  255},   ui::kFont6Bold,           14},
  ControlSpec{"Check4",   Kind::CheckBox,     "Pad ROM",                      "",       {3480, 4680,  2775,  255},   ui::kFont6Bold,           15},
  ControlSpec{"Label4",   Kind::Label,        "LPT Port Address: 0x",         "",       {120,  5040,  1815,  135},   ui::kFont6Bold},
  ControlSpec{"Text2",    Kind::TextBox,      "378",                          "",       {1920, 4950,  735,   270},   ui::kDefaultFont,         17},
  ControlSpec{"Option1",  Kind::OptionButton, "Telvo 64",                     "",       {3480, 5040,  1215,  255},   ui::kDefaultFont,         24},
  ControlSpec{"Option2",  Kind::OptionButton, "Telvo 32",                     "",       {5280, 5040,  975,   255},   ui::kDefaultFont,         25},
  ControlSpec{"Label5",   Kind::Label,        "SRAM",                         "",       {6360, 4320,  2655,  375},   ui::kFont135Bold,         -1, ui::kSystemColour, false, Align::Centre},
  ControlSpec{"Frame2",   Kind::Frame,        "Slot #",                       "",       {6360, 4680,  830,   615}},
  ControlSpec{"Label7",   Kind::Label,        "",                             "Frame2", {120,  240,   375,   255},   ui::kDefaultFont,         -1, ui::kSystemColour, true, Align::Centre},
  ControlSpec{"VScroll1", Kind::VScrollBar,   "",                             "Frame2", {480,  240,   255,   255},   ui::kDefaultFont,         27, ui::kSystemColour, false, Align::Left, 0, 3},
  ControlSpec{"Command5", Kind::Button,       "Get/Receive",                  "",       {7200, 4680,  1815,  615},   ui::kFont135,             21},
  ControlSpec{"Label6",   Kind::Label,        kSramNote,                      "",       {6360, 5400,  2655,  1215},  ui::kFont6Bold},
  ControlSpec{"List1",    Kind::ListBox,      "",                             "",       {120,  5400,  4815,  1140},  ui::kDefaultFont,         9},
  ControlSpec{"Command2", Kind::Button,       "Remove Item",                  "",       {5040, 5400,  1215,  255},   ui::kFont9Bold,           6},
  ControlSpec{"Command3", Kind::Button,       "Erase List",                   "",       {5040, 5760,  1215,  255},   ui::kFont9Bold,           7},
  ControlSpec{"Command4", Kind::Button,       "Flash",                        "",       {5040, 6120,  1215,  495},   ui::kFont135Bold,         8},
  ControlSpec{"Frame1",   Kind::Frame,        "Flashing Status (ucon64)",     "",       {120,  6720,  8895,  2535}},
  ControlSpec{"Text3",    Kind::MultiLineText,"",                             "Frame1", {120,  240,   8655,  2175},  ui::kFont6Bold,           20},
  ControlSpec{"Label8",   Kind::Label,        "Visit Vostrik Software:",      "",       {120,  9360,  2175,  135},   ui::kFont6Bold},
  ControlSpec{"Label9",   Kind::LinkLabel,    kMakerPage,                     "",       {2280, 9360,  2175,  135},   ui::kFont6BoldUnderlined, -1, kLinkBlue},
  ControlSpec{"Label11",  Kind::Label,        "Visit ORBITON:",               "",       {120,  9525,  2175,  135},   ui::kFont6Bold},
  ControlSpec{"Label10",  Kind::LinkLabel,    kCartridgeMakerPage,            "",       {2280, 9525,  2175,  135},   ui::kFont6BoldUnderlined, -1, kLinkBlue},
  ControlSpec{"Label13",  Kind::Label,        "User's manual at:",            "",       {120,  9720,  2175,  135},   ui::kFont6Bold},
  ControlSpec{"Label12",  Kind::LinkLabel,    kManualPage,                    "",       {2280, 9720,  3135,  135},   ui::kFont6BoldUnderlined, -1, kLinkBlue},
};
// clang-format on

// The path list and the SRAM request fields: values the handlers keep under these names,
// which the user never sees.
constexpr std::array kStored = {
    ui::StoredSpec{"List2", Kind::ListBox},
    ui::StoredSpec{"Check5", Kind::CheckBox},
    ui::StoredSpec{"Text4", Kind::TextBox},
    ui::StoredSpec{"Text5", Kind::TextBox},
};

}  // namespace

const ui::WindowSpec& Form1Spec() {
  static const ui::WindowSpec spec{
      .name = "Form1",
      .caption = kCaption,
      .clientWidth = 9135,
      .clientHeight = 9975,
      .sizable = false,
      .centred = true,
      .hasIcon = true,
      .defaultFont = ui::kDefaultFont,
      .controls = kControls,
      .stored = kStored,
  };
  return spec;
}

}  // namespace app
