#include "ui/window.h"

#include <cstdio>
#include <cstdlib>

namespace ui {

void Window::badControl(std::string_view name) {
  std::fprintf(stderr, "window layer: no control \"%.*s\" of the requested kind\n",
               static_cast<int>(name.size()), name.data());
  std::abort();
}

}  // namespace ui
