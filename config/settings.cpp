// The settings file "TELVO.INI": reading it line by line at fixed columns, and writing its
// seven lines. Files written by earlier versions depend on every quirk of the reader, so the
// rules below are kept exactly as they have always behaved.
#include "config/settings.h"

#include <string>

namespace config {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kHeaderComment =
    "# Vostrik Software's TELVO Flashing Software Configuration file V1.00";

// Byte offset of the 1-based column in line, columns counted in characters (the text is
// UTF-8), or npos when the line is shorter than that.
size_t ColumnOffset(std::string_view line, size_t column) {
  size_t seen = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    bool startsCharacter = (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
    if (startsCharacter && ++seen == column) return i;
  }
  return std::string_view::npos;
}

// True when the character at column is ch (an ASCII character); a column beyond the end of
// the line matches nothing.
bool ColumnIs(std::string_view line, size_t column, char ch) {
  size_t at = ColumnOffset(line, column);
  return at != std::string_view::npos && line[at] == ch;
}

// The characters from column to the end of the line; empty when the line is shorter.
std::string_view FromColumn(std::string_view line, size_t column) {
  size_t at = ColumnOffset(line, column);
  return at == std::string_view::npos ? std::string_view() : line.substr(at);
}

void CheckWhenOne(std::string_view line, std::string_view key, size_t valueColumn, int& box) {
  // The reader only ever checks a box: "0" or any other value leaves it as it is.
  if (line.starts_with(key) && ColumnIs(line, valueColumn, '1')) box = 1;
}

void ApplyLine(std::string_view line, SettingsValues& values) {
  if (line.starts_with('#')) return;

  CheckWhenOne(line, "FixUnl", 10, values.check[0]);
  CheckWhenOne(line, "FixChk", 10, values.check[1]);
  CheckWhenOne(line, "Enforce", 11, values.check[2]);
  CheckWhenOne(line, "Pad", 7, values.check[3]);

  // The port text is taken as it stands, trailing blanks included; the bare key keeps the
  // port box as it is.
  if (line.starts_with("LPT") && line != "LPT") values.port = std::string(FromColumn(line, 7));

  // Every line that is not a comment decides the size option, so the last one wins.
  bool telvo64 = line.starts_with("TELVO") && ColumnIs(line, 9, '0');
  values.option64 = telvo64;
  values.option32 = !telvo64;
}

void AppendLine(std::string& out, std::string_view line) {
  out += line;
  out += kCrLf;
}

}  // namespace

void ApplySettingsText(std::string_view text, SettingsValues& values) {
  // A line ends at CR LF or at a lone CR; a lone LF stays inside the line. The terminator of
  // the last line does not start another one, but an empty text still reads as one empty line.
  size_t pos = 0;
  do {
    size_t cr = text.find('\r', pos);
    if (cr == std::string_view::npos) {
      ApplyLine(text.substr(pos), values);
      return;
    }
    ApplyLine(text.substr(pos, cr - pos), values);
    pos = cr + 1;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  } while (pos < text.size());
}

std::string DefaultSettingsText() {
  SettingsValues defaults;
  defaults.check[1] = 1;
  defaults.check[2] = 1;
  defaults.port = "378";
  defaults.option64 = true;
  return FormatSettings(defaults);
}

std::string FormatSettings(const SettingsValues& values) {
  std::string out;
  AppendLine(out, kHeaderComment);
  AppendLine(out, "FixUnl = " + std::to_string(values.check[0]));
  AppendLine(out, "FixChk = " + std::to_string(values.check[1]));
  AppendLine(out, "Enforce = " + std::to_string(values.check[2]));
  AppendLine(out, "Pad = " + std::to_string(values.check[3]));
  AppendLine(out, "LPT = " + values.port);
  // Only the 32 Mbit option writes 1; with neither option selected the 64 Mbit value is saved.
  AppendLine(out, values.option32 ? "TELVO = 1" : "TELVO = 0");
  return out;
}

std::string UnwritableFolderLine(std::string_view folder, std::string_view reason) {
  std::string line = "The folder ";
  line += folder;
  line += " cannot be written (";
  line += reason;
  line += "): the options will not be kept.";
  return line;
}

}  // namespace config
