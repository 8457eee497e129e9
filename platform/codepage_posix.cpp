// Linux: the ANSI text of files, command lines and the tool's output is UTF-8. Bytes that are
// not part of well-formed UTF-8 are read as Windows-1252, the code page such 8-bit text most
// likely came from. Its five unassigned bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the C1
// controls U+0081 etc., as Windows itself converts them, so no byte is lost or turned into '?'.
#include "platform/codepage.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform::detail {

std::size_t Utf8SequenceLength(std::string_view bytes);
std::size_t Utf8IncompleteTail(std::string_view bytes);

std::size_t AnsiIncompleteTail(std::string_view bytes) { return Utf8IncompleteTail(bytes); }

}  // namespace platform::detail

namespace platform {
namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the unassigned ones, which keep their C1 value.
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

void AppendCodePoint(std::string& out, std::uint32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::uint32_t Cp1252ToCodePoint(unsigned char byte) {
  if (byte < 0x80 || byte > 0x9F) return byte;
  const std::uint16_t mapped = kCp1252High[byte - 0x80];
  return mapped != 0 ? mapped : byte;
}

// Where the run of ASCII bytes that starts at from ends; eight bytes are tested at a time.
std::size_t AsciiRunEnd(std::string_view bytes, std::size_t from) {
  std::size_t i = from;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, sizeof word);
    if ((word & 0x8080808080808080ull) != 0) break;
  }
  while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) ++i;
  return i;
}

}  // namespace

std::string AnsiToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    // Plain ASCII runs are by far the most common output; copy them in one go.
    const std::size_t run = AsciiRunEnd(bytes, i);
    out.append(bytes.data() + i, run - i);
    i = run;
    if (i == bytes.size()) break;
    const std::size_t length = detail::Utf8SequenceLength(bytes.substr(i));
    if (length > 0) {
      out.append(bytes.data() + i, length);
      i += length;
      continue;
    }
    AppendCodePoint(out, Cp1252ToCodePoint(static_cast<unsigned char>(bytes[i])));
    ++i;
  }
  return out;
}

std::string Utf8ToAnsi(std::string_view text) { return std::string(text); }

}  // namespace platform
