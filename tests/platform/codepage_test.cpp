#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

#ifndef _WIN32

// Linux reads the tool's output as UTF-8 and falls back to Windows-1252 byte by byte.
struct DecodeCase {
  const char* name;
  std::string bytes;
  std::string text;
};

TEST(AnsiToUtf8, DecodesUtf8AndFallsBackToWindows1252) {
  const std::vector<DecodeCase> cases = {
      {"ascii with controls", "a\r\nb\t\x01", "a\r\nb\t\x01"},
      {"valid two, three, four bytes", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80",
       "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"},
      {"latin-1 letter alone", "caf\xE9", "caf\xC3\xA9"},
      {"euro sign of 1252", "\x80", "\xE2\x82\xAC"},
      {"curly quotes of 1252", "\x93x\x94", "\xE2\x80\x9Cx\xE2\x80\x9D"},
      {"unassigned 1252 bytes keep their C1 value", "\x81\x8D\x8F\x90\x9D",
       "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
      {"overlong slash", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
      {"surrogate half", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"},
      {"sequence cut short", "\xE2\x82\x41", "\xC3\xA2\xE2\x80\x9A\x41"},
      {"stray continuation", "\xA9", "\xC2\xA9"},
  };
  for (const DecodeCase& c : cases) {
    EXPECT_EQ(platform::AnsiToUtf8(c.bytes), c.text) << c.name;
  }
}

TEST(Utf8ToAnsi, IsUnchangedOnLinux) {
  EXPECT_EQ(platform::Utf8ToAnsi("caf\xC3\xA9 \xE2\x82\xAC"), "caf\xC3\xA9 \xE2\x82\xAC");
}

#endif

// Whatever the cut, the pieces decode to the same text as the whole stream: a character split
// between two reads is held back, never broken, doubled or lost.
TEST(AnsiStreamDecoder, EverySplitDecodesLikeTheWhole) {
  const std::vector<std::string> streams = {
      "plain ascii text",
      "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\xF0\x9F\x98\x80 end",
      "caf\xE9 \x80 \xE2\x82\x41 \xF0\x9F\x98",  // 1252 bytes, a broken and a cut sequence
      "\xE2\x82\xAC",
  };
  for (const std::string& stream : streams) {
    const std::string whole = platform::AnsiToUtf8(stream);
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
      for (std::size_t cut2 = cut; cut2 <= stream.size(); ++cut2) {
        platform::AnsiStreamDecoder decoder;
        std::string text = decoder.feed(stream.substr(0, cut));
        text += decoder.feed(stream.substr(cut, cut2 - cut));
        text += decoder.feed(stream.substr(cut2));
        text += decoder.finish();
        EXPECT_EQ(text, whole) << "stream " << stream << " cut at " << cut << "," << cut2;
      }
    }
  }
}

#ifndef _WIN32
TEST(AnsiStreamDecoder, HoldsBackOnlyAnUnfinishedCharacter) {
  platform::AnsiStreamDecoder decoder;
  EXPECT_EQ(decoder.feed("a\xE2\x82"), "a");
  EXPECT_EQ(decoder.feed("\xAC\x62"), "\xE2\x82\xAC\x62");  // the rest of the euro sign, "b"
  EXPECT_EQ(decoder.feed("c"), "c");
  EXPECT_EQ(decoder.finish(), "");
}
#endif

}  // namespace
