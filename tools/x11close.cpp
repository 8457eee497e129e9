// x11close PREFIX: asks the top-level X11 window whose WM_NAME starts with PREFIX to close, as a
// window manager's close button does (WM_DELETE_WINDOW), and exits 0; exits 1 when there is
// none. The archive check closes the program with it on a virtual display without a window
// manager.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: x11close PREFIX\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) return 1;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned count = 0;
  int found = 0;
  XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
  for (unsigned i = 0; i < count && !found; ++i) {
    char* name = nullptr;
    if (XFetchName(display, children[i], &name) && name) {
      if (std::strncmp(name, argv[1], std::strlen(argv[1])) == 0) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = children[i];
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, children[i], False, NoEventMask, &event);
        found = 1;
      }
      XFree(name);
    }
  }
  if (children) XFree(children);
  XCloseDisplay(display);
  return found ? 0 : 1;
}
