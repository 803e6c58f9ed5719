// Asks an X window to close, as a window manager does for Alt+F4 (WM_DELETE_WINDOW).
//   x-close WINDOW
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: x-close WINDOW\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return 1;
    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
    request.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    request.xclient.format = 32;
    request.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    request.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, request.xclient.window, False, NoEventMask, &request);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}
