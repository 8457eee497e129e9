// The main window's layout: every control of Form1 with its kind, caption, place and font.
#pragma once

#include <string_view>

#include "ui/layout.h"

namespace app {

const ui::WindowSpec& Form1Spec();

// The three pages the link labels open; they are also the labels' captions.
inline constexpr std::string_view kMakerPage = "http://www.vostrik.example/";
inline constexpr std::string_view kCartridgeMakerPage = "http://www.orbiton.example/";
inline constexpr std::string_view kManualPage = "http://www.vostrik.example/telvo/manual.html";

}  // namespace app
