// Asks a window to close as a window manager's close button does: the
// WM_DELETE_WINDOW message of the ICCCM.   closewindow WINDOW-ID
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv) {
  Display *d = argc == 2 ? XOpenDisplay(nullptr) : nullptr;
  if (!d) {
    std::fprintf(stderr, "usage: closewindow WINDOW-ID (with DISPLAY set)\n");
    return 2;
  }
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = (Window)std::strtoul(argv[1], nullptr, 0);
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
  XCloseDisplay(d);
  return 0;
}
