// Path text taken apart and put together, the same on every platform once the separator and
// the root are known.
#include "platform/path_text.h"

namespace platform {

std::string JoinPath(std::string_view dir, std::string_view name) {
  std::string out(dir);
  out += PathSeparator();
  out += name;
  return out;
}

std::string_view FileNameOf(std::string_view path) {
#ifdef _WIN32
  const std::size_t cut = path.find_last_of("\\/:");
#else
  const std::size_t cut = path.rfind('/');
#endif
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string FolderOf(std::string_view path) {
  std::string_view folder = path.substr(0, path.size() - FileNameOf(path).size());
  if (folder.size() > RootOf(path).size()) folder.remove_suffix(1);
  return std::string(folder);
}

}  // namespace platform
