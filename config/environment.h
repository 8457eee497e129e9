// The program's own process environment, which every child it starts inherits.
#pragma once

#include <string_view>

namespace config {

// Sets name to value (UTF-8; converted to the ANSI code page on Windows). False on failure.
bool SetEnvironmentVariable(std::string_view name, std::string_view value);

}  // namespace config
