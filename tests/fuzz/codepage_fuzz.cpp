// Tool output arriving in pieces: decoding it piece by piece gives exactly what decoding it at
// once gives, wherever the pieces are cut. The first byte picks the cuts.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const unsigned step = data[0] % 7 + 1;
  std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  platform::AnsiStreamDecoder decoder;
  std::string pieces;
  for (std::size_t at = 0; at < bytes.size(); at += step) {
    pieces += decoder.feed(bytes.substr(at, step));
  }
  pieces += decoder.finish();
  if (pieces != platform::AnsiToUtf8(bytes)) std::abort();
  return 0;
}
