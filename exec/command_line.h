// The tool's command line: its arguments as a list, program name first, each exactly as the
// tool receives it. The POSIX runner starts the list as it stands; Windows takes one line of
// text, which FlattenCommandLine writes so that the tool's C runtime splits it back into the
// same list, whatever quotes, blanks or backslashes a path or the port text holds.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace exec {

class CommandLine {
 public:
  CommandLine() = default;
  // Each argument as it is; on the Windows line in double quotes only where it must be.
  CommandLine(std::initializer_list<std::string> args);
  explicit CommandLine(std::vector<std::string> args);

  CommandLine& add(std::string_view arg);
  // prefix followed by path, as one argument. On the Windows line the path stands between
  // double quotes however plain it is, as the tool has always been given its paths.
  CommandLine& addPath(std::string_view prefix, std::string_view path);
  // The Windows line ends with one blank, as the flash commands always have.
  CommandLine& endWithBlank();

  const std::vector<std::string>& args() const { return args_; }
  // The same line with each argument passed through convert (into the system's code page),
  // quoted where it was. The prefixes given to addPath are plain ASCII and keep their length.
  CommandLine convertedBy(std::string (*convert)(std::string_view)) const;

 private:
  friend std::string FlattenCommandLine(const CommandLine& line);

  std::vector<std::string> args_;
  // For each argument, where its always-quoted part begins; npos for none.
  std::vector<std::size_t> quoteFrom_;
  bool endsWithBlank_ = false;
};

// The one line CreateProcessA takes, written by the C runtime's rules: arguments separated by
// one blank; an argument with a blank or a tab, or an empty one, in double quotes; a double
// quote inside an argument as \", and the backslashes right before a double quote (written or
// closing) doubled. Other backslashes stand as they are, so a line of plain pieces is the one
// the tool has always been given. The program name is only put in quotes when it holds a blank
// or a tab (the C runtime takes it up to the next blank outside quotes, escaping nothing); no
// Windows file name holds a double quote.
std::string FlattenCommandLine(const CommandLine& line);

// The system ends an argument at a NUL byte: an argument holding one would reach the tool cut
// short, naming another file than the one chosen.
bool HoldsNulByte(const CommandLine& line);

}  // namespace exec
