// The settings file "TELVO.INI": seven lines read by fixed columns. The reader and the writers
// work on text; the file I/O around them lives with the main window.
#pragma once

#include <string>
#include <string_view>

namespace config {

inline constexpr std::string_view kSettingsFileName = "TELVO.INI";

// What the settings file carries: the values of the option controls.
struct SettingsValues {
  int check[4] = {0, 0, 0, 0};  // Check1..Check4: 0 clear, 1 set
  std::string port = "378";     // port box text, as typed
  bool option64 = false;        // Option1 "Telvo 64"
  bool option32 = false;        // Option2 "Telvo 32"
};

// Applies the lines of text to values, which hold the controls' current values, with every
// reading rule the stored files rely on (CR LF or a lone CR ends a line, a lone LF does not;
// a box is only ever checked; the last non-comment line decides the size option; ...).
void ApplySettingsText(std::string_view text, SettingsValues& values);

// The seven default lines, CR LF after each.
std::string DefaultSettingsText();
// The seven lines written at shut-down, from the controls' values.
std::string FormatSettings(const SettingsValues& values);

// The output box's line (without line ending) saying that folder cannot be written, for the
// system's reason, so the options will not be kept.
std::string UnwritableFolderLine(std::string_view folder, std::string_view reason);

}  // namespace config
