// Any bytes as a settings file: the reader never fails, and what the program writes back at
// close (through the file's 8-bit text) reads back as the same values (the port text may be anything typed on one line).
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/settings.h"
#include "platform/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  config::SettingsValues read;
  config::ApplySettingsText(platform::AnsiToUtf8(text), read);

  // The port box holds one line: no CR in it (a lone LF stays inside a line).
  config::SettingsValues typed = read;
  typed.port.erase(std::remove(typed.port.begin(), typed.port.end(), '\r'), typed.port.end());
  config::SettingsValues back;
  back.port = "unchanged";
  config::ApplySettingsText(
      platform::AnsiToUtf8(platform::Utf8ToAnsi(config::FormatSettings(typed))), back);
  for (int i = 0; i < 4; ++i)
    if (back.check[i] != (typed.check[i] == 1 ? 1 : 0)) std::abort();
  if (back.port != typed.port) std::abort();
  if (back.option32 != typed.option32 || back.option64 == back.option32) std::abort();
  return 0;
}
