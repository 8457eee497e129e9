// closewindow PREFIX: asks the visible top-level window whose caption starts with PREFIX to
// close, as its close button does (WM_CLOSE), and exits 0; exits 1 when there is none. The
// Windows start-up test uses it to end the program the way a user would.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

struct Search {
  const char* prefix;
  HWND found;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (!IsWindowVisible(hwnd)) return TRUE;
  char caption[512] = {};
  GetWindowTextA(hwnd, caption, sizeof caption);
  if (std::strncmp(caption, search->prefix, std::strlen(search->prefix)) != 0) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: closewindow CAPTION-PREFIX\n");
    return 2;
  }
  Search search{argv[1], nullptr};
  EnumWindows(&Visit, reinterpret_cast<LPARAM>(&search));
  if (!search.found) {
    std::fprintf(stderr, "closewindow: no window whose caption starts with \"%s\"\n", argv[1]);
    return 1;
  }
  PostMessageA(search.found, WM_CLOSE, 0, 0);
  return 0;
}
