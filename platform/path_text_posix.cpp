// Path text on POSIX systems: one separator, one root.
#include "platform/path_text.h"

namespace platform {

char PathSeparator() { return '/'; }

std::string RootOf(std::string_view path) {
  return !path.empty() && path.front() == '/' ? "/" : "";
}

}  // namespace platform
