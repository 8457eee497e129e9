// Path text on Windows: either slash separates, and a root is a drive or a share.
#include "platform/path_text.h"

#include <cctype>

namespace platform {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasDriveLetter(std::string_view path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

}  // namespace

char PathSeparator() { return '\\'; }

// "c:\..." has the root "c:\"; a share "\\server\share\..." has "\\server\share\". The root is
// always a prefix of path, as the directory list takes the rest apart after it.
std::string RootOf(std::string_view path) {
  if (HasDriveLetter(path) && path.size() >= 3 && IsSeparator(path[2]))
    return std::string(path.substr(0, 3));
  if (path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
    size_t server = path.find_first_of("\\/", 2);
    if (server == std::string_view::npos) return "";
    size_t share = path.find_first_of("\\/", server + 1);
    if (share == std::string_view::npos) return std::string(path) + '\\';
    return std::string(path.substr(0, share + 1));
  }
  return "";
}

}  // namespace platform
