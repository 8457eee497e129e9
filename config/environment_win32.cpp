// The process environment on Windows: SetEnvironmentVariableA with ANSI strings. Children that
// CreateProcessA starts without an environment block of their own inherit it.
#include "config/environment.h"

#include "platform/codepage.h"

#include <windows.h>

// <windows.h> maps this name to its own ANSI/wide function; ours lives in namespace config.
#undef SetEnvironmentVariable

namespace config {

bool SetEnvironmentVariable(std::string_view name, std::string_view value) {
  std::string ansiName = platform::Utf8ToAnsi(name);
  std::string ansiValue = platform::Utf8ToAnsi(value);
  return ::SetEnvironmentVariableA(ansiName.c_str(), ansiValue.c_str()) != 0;
}

}  // namespace config
