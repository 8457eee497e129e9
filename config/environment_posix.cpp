// The process environment on POSIX systems: setenv, which children started later inherit.
#include "config/environment.h"

#include <cstdlib>
#include <string>

namespace config {

bool SetEnvironmentVariable(std::string_view name, std::string_view value) {
  return ::setenv(std::string(name).c_str(), std::string(value).c_str(), 1) == 0;
}

}  // namespace config
