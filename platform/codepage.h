// Conversion between the program's UTF-8 text and the 8-bit "ANSI" text that files, command
// lines and the tool's output use.
// Windows: the system's ANSI code page (CP_ACP).
// Linux: the ANSI text is UTF-8 already; bytes that are not valid UTF-8 are read as
// Windows-1252, so old 8-bit files and titles still show their characters.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string AnsiToUtf8(std::string_view bytes);
// Characters the code page cannot hold become its replacement character ('?').
std::string Utf8ToAnsi(std::string_view text);

// Decodes a byte stream that arrives in pieces: a multi-byte character split between two
// pieces is held back and completed by the next one, never broken or lost.
class AnsiStreamDecoder {
 public:
  std::string feed(std::string_view bytes);
  // What is still held back at the end of the stream, decoded as it stands.
  std::string finish();

 private:
  std::string pending_;
};

}  // namespace platform
