// Windows: the ANSI text is in the system's ANSI code page (CP_ACP). Conversions go through
// UTF-16. Characters the code page cannot hold become its default character ('?').
#include "platform/codepage.h"

#include <windows.h>

#include <cstddef>
#include <string>

namespace platform::detail {

std::size_t Utf8IncompleteTail(std::string_view bytes);

// A double-byte code page's lead byte waits for its trail byte. Lead and trail byte ranges
// overlap, so the pairs are walked from the start, which is always a character boundary. A
// system whose ANSI code page is UTF-8 follows the UTF-8 rules instead.
std::size_t AnsiIncompleteTail(std::string_view bytes) {
  if (GetACP() == CP_UTF8) return Utf8IncompleteTail(bytes);
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto c = static_cast<BYTE>(bytes[i]);
    i += IsDBCSLeadByteEx(CP_ACP, c) ? 2 : 1;
  }
  return i > bytes.size() ? 1 : 0;
}

}  // namespace platform::detail

namespace platform {
namespace {

std::wstring ToWide(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int wide = MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
  if (wide <= 0) return {};
  std::wstring out(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), size, out.data(), wide);
  return out;
}

// No "best fit": a character the code page lacks must become '?', not a look-alike; a
// full-width quotation mark turned into '"' would split a quoted path into other arguments.
DWORD NarrowingFlags(UINT codePage) {
  const bool utf8 = codePage == CP_UTF8 || (codePage == CP_ACP && GetACP() == CP_UTF8);
  return utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
}

std::string FromWide(UINT codePage, const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const DWORD flags = NarrowingFlags(codePage);
  const int narrow =
      WideCharToMultiByte(codePage, flags, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (narrow <= 0) return {};
  std::string out(static_cast<std::size_t>(narrow), '\0');
  WideCharToMultiByte(codePage, flags, text.data(), size, out.data(), narrow, nullptr, nullptr);
  return out;
}

}  // namespace

std::string AnsiToUtf8(std::string_view bytes) { return FromWide(CP_UTF8, ToWide(CP_ACP, bytes)); }

std::string Utf8ToAnsi(std::string_view text) { return FromWide(CP_ACP, ToWide(CP_UTF8, text)); }

}  // namespace platform
