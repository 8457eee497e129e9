// closewindow PREFIX: asks the visible top-level window whose caption starts with PREFIX to
// close, as its close button does (WM_CLOSE), and exits 0; exits 1 when there is none.
// closewindow PREFIX BUTTON: clicks that window's button captioned BUTTON instead.
// The Windows start-up test uses it to act on the program the way a user would.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

struct Search {
  const char* text;
  bool prefixOnly;
  HWND found;
};

bool Matches(HWND hwnd, const Search& search) {
  char caption[512] = {};
  GetWindowTextA(hwnd, caption, sizeof caption);
  if (search.prefixOnly) return std::strncmp(caption, search.text, std::strlen(search.text)) == 0;
  return std::strcmp(caption, search.text) == 0;
}

BOOL CALLBACK Visit(HWND hwnd, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  if (!IsWindowVisible(hwnd) || !Matches(hwnd, *search)) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: closewindow CAPTION-PREFIX [BUTTON-CAPTION]\n");
    return 2;
  }
  Search window{argv[1], true, nullptr};
  EnumWindows(&Visit, reinterpret_cast<LPARAM>(&window));
  if (!window.found) {
    std::fprintf(stderr, "closewindow: no window whose caption starts with \"%s\"\n", argv[1]);
    return 1;
  }
  if (argc == 2) {
    PostMessageA(window.found, WM_CLOSE, 0, 0);
    return 0;
  }
  Search button{argv[2], false, nullptr};
  EnumChildWindows(window.found, &Visit, reinterpret_cast<LPARAM>(&button));
  if (!button.found) {
    std::fprintf(stderr, "closewindow: \"%s\" has no button \"%s\"\n", argv[1], argv[2]);
    return 1;
  }
  PostMessageA(button.found, BM_CLICK, 0, 0);
  return 0;
}
