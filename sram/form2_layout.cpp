#include <array>

#include "sram/form2.h"

namespace sram {

namespace {

using ui::ControlSpec;
using ui::Kind;

// clang-format off
constexpr std::array kControls = {
  //           name        kind             caption                                        in  left  top   width height  font            tab
  ControlSpec{"Label1",   Kind::Label,     "Please select a file to read from/save to.",  "", {0,    0,    6375, 375},   ui::kFont135,   -1},
  ControlSpec{"Drive1",   Kind::DriveList, "",                                            "", {0,    3180, 2535, 240},   ui::kFont6Bold, 1},
  ControlSpec{"Dir1",     Kind::DirList,   "",                                            "", {0,    360,  2535, 2790},  ui::kFont6Bold, 2},
  ControlSpec{"File1",    Kind::FileList,  "",                                            "", {2520, 360,  3735, 2850},  ui::kFont6Bold, 3},
  ControlSpec{"Text1",    Kind::TextBox,   kFilenamePlaceholder,                          "", {2520, 3200, 3135, 225},   ui::kFont6Bold, 4},
  ControlSpec{"Command1", Kind::Button,    "OK",                                          "", {5640, 3200, 615,  225},   ui::kFont6Bold, 5},
};
// clang-format on

}  // namespace

const ui::WindowSpec& Form2Spec() {
  static const ui::WindowSpec spec{
      .name = "Form2",
      .caption = "SRAM Operation",
      .clientWidth = 6255,
      .clientHeight = 3435,
      .sizable = true,
      .centred = false,
      .hasIcon = false,
      .defaultFont = ui::kFont6Bold,
      .controls = kControls,
  };
  return spec;
}

}  // namespace sram
