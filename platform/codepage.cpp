// The platform-independent half of the ANSI conversion: UTF-8 sequence rules, which both
// platforms need (Linux reads the tool's output as UTF-8; Windows may run with UTF-8 as its ANSI
// code page), and the stream decoder that holds back a character split between two reads.
#include "platform/codepage.h"

#include <cstddef>

namespace platform::detail {

// Length of the well-formed UTF-8 sequence that starts at bytes[0], or 0 when none starts there
// (stray continuation byte, overlong form, surrogate, beyond U+10FFFF, or cut short).
std::size_t Utf8SequenceLength(std::string_view bytes);
// How many bytes at the end of bytes begin a UTF-8 sequence that the next piece may complete.
std::size_t Utf8IncompleteTail(std::string_view bytes);
// The same question for the ANSI code page of this platform; defined in codepage_<platform>.cpp.
std::size_t AnsiIncompleteTail(std::string_view bytes);

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The sequence length a lead byte announces and the allowed range of the byte after it, which
// rules out overlong forms, surrogates and code points beyond U+10FFFF.
struct LeadRule {
  std::size_t length;
  unsigned char secondMin;
  unsigned char secondMax;
};

LeadRule RuleFor(unsigned char lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return {2, 0x80, 0xBF};
  if (lead == 0xE0) return {3, 0xA0, 0xBF};
  if (lead == 0xED) return {3, 0x80, 0x9F};
  if (lead >= 0xE1 && lead <= 0xEF) return {3, 0x80, 0xBF};
  if (lead == 0xF0) return {4, 0x90, 0xBF};
  if (lead == 0xF4) return {4, 0x80, 0x8F};
  if (lead >= 0xF1 && lead <= 0xF3) return {4, 0x80, 0xBF};
  return {0, 0, 0};
}

// How many bytes of bytes (at most rule.length) are a correct start of the sequence.
std::size_t ValidPrefix(std::string_view bytes, const LeadRule& rule) {
  std::size_t n = 1;
  for (; n < rule.length && n < bytes.size(); ++n) {
    const auto c = static_cast<unsigned char>(bytes[n]);
    if (n == 1 && (c < rule.secondMin || c > rule.secondMax)) return n;
    if (n > 1 && !IsContinuation(c)) return n;
  }
  return n;
}

}  // namespace

std::size_t Utf8SequenceLength(std::string_view bytes) {
  if (bytes.empty()) return 0;
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (lead < 0x80) return 1;
  const LeadRule rule = RuleFor(lead);
  if (rule.length == 0 || bytes.size() < rule.length) return 0;
  return ValidPrefix(bytes, rule) == rule.length ? rule.length : 0;
}

std::size_t Utf8IncompleteTail(std::string_view bytes) {
  // A sequence is at most four bytes long, so only a lead byte among the last three can still
  // be waiting for the rest of its character.
  const std::size_t lookBack = bytes.size() < 3 ? bytes.size() : 3;
  for (std::size_t back = 1; back <= lookBack; ++back) {
    const std::size_t start = bytes.size() - back;
    const auto c = static_cast<unsigned char>(bytes[start]);
    if (IsContinuation(c)) continue;
    const LeadRule rule = RuleFor(c);
    if (rule.length <= back) return 0;
    return ValidPrefix(bytes.substr(start), rule) == back ? back : 0;
  }
  return 0;
}

}  // namespace platform::detail

namespace platform {

std::string AnsiStreamDecoder::feed(std::string_view bytes) {
  if (pending_.empty()) {
    const std::size_t tail = detail::AnsiIncompleteTail(bytes);
    std::string text = AnsiToUtf8(bytes.substr(0, bytes.size() - tail));
    pending_.assign(bytes.substr(bytes.size() - tail));
    return text;
  }
  std::string joined = pending_;
  joined.append(bytes);
  const std::size_t tail = detail::AnsiIncompleteTail(joined);
  std::string text = AnsiToUtf8(std::string_view(joined).substr(0, joined.size() - tail));
  pending_ = joined.substr(joined.size() - tail);
  return text;
}

std::string AnsiStreamDecoder::finish() {
  std::string text = AnsiToUtf8(pending_);
  pending_.clear();
  return text;
}

}  // namespace platform
