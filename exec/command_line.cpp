// The tool's arguments as a list and the Windows line written from it.
#include "exec/command_line.h"

#include <algorithm>
#include <utility>

namespace exec {
namespace {

constexpr std::size_t kNoQuote = std::string::npos;

bool HasBlank(std::string_view text) { return text.find_first_of(" \t") != std::string::npos; }

// text as the C runtime reads it back: each double quote escaped by a backslash, and the
// backslashes right before one doubled; beforeQuote tells that a double quote follows the text
// on the line, so its trailing backslashes are doubled too.
void AppendEscaped(std::string& line, std::string_view text, bool beforeQuote) {
  std::size_t backslashes = 0;
  for (char c : text) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    if (c == '"') {
      line.append(2 * backslashes + 1, '\\');
    } else {
      line.append(backslashes, '\\');
    }
    backslashes = 0;
    line += c;
  }
  line.append(beforeQuote ? 2 * backslashes : backslashes, '\\');
}

}  // namespace

CommandLine::CommandLine(std::initializer_list<std::string> args)
    : CommandLine(std::vector<std::string>(args)) {}

CommandLine::CommandLine(std::vector<std::string> args)
    : args_(std::move(args)), quoteFrom_(args_.size(), kNoQuote) {}

CommandLine& CommandLine::add(std::string_view arg) {
  args_.emplace_back(arg);
  quoteFrom_.push_back(kNoQuote);
  return *this;
}

CommandLine& CommandLine::addPath(std::string_view prefix, std::string_view path) {
  std::string arg(prefix);
  arg += path;
  args_.push_back(std::move(arg));
  quoteFrom_.push_back(prefix.size());
  return *this;
}

CommandLine& CommandLine::endWithBlank() {
  endsWithBlank_ = true;
  return *this;
}

CommandLine CommandLine::convertedBy(std::string (*convert)(std::string_view)) const {
  CommandLine converted = *this;
  for (std::string& arg : converted.args_) arg = convert(arg);
  return converted;
}

std::string FlattenCommandLine(const CommandLine& line) {
  std::string text;
  for (std::size_t i = 0; i < line.args_.size(); ++i) {
    const std::string& arg = line.args_[i];
    if (i == 0) {
      const bool quote = arg.empty() || HasBlank(arg);
      if (quote) text += '"';
      text += arg;
      if (quote) text += '"';
      continue;
    }
    text += ' ';
    std::size_t from = line.quoteFrom_[i];
    // A blank outside the quotes would end the argument there: quote it from its start then.
    if (from == kNoQuote && (arg.empty() || HasBlank(arg))) from = 0;
    if (from != kNoQuote && HasBlank(std::string_view(arg).substr(0, from))) from = 0;
    if (from == kNoQuote) {
      AppendEscaped(text, arg, /*beforeQuote=*/false);
      continue;
    }
    const std::string_view whole(arg);
    AppendEscaped(text, whole.substr(0, from), /*beforeQuote=*/true);
    text += '"';
    AppendEscaped(text, whole.substr(from), /*beforeQuote=*/true);
    text += '"';
  }
  if (line.endsWithBlank_) text += ' ';
  return text;
}

bool HoldsNulByte(const CommandLine& line) {
  return std::any_of(line.args().begin(), line.args().end(),
                     [](const std::string& arg) { return arg.find('\0') != std::string::npos; });
}

}  // namespace exec
