// SPDX-License-Identifier: GPL-3.0-or-later
// Asks a top-level window to close the way a window manager does when its close box is pressed:
// a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW. Fails when the window does not take
// part in that protocol, since a window manager would then have to kill the client instead.
//   wm_delete_window WINDOW_ID
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <span>

int main(int argc, char *argv[])
{
    const std::span arguments(argv, static_cast<std::size_t>(argc));
    if (arguments.size() != 2) {
        std::fputs("usage: wm_delete_window WINDOW_ID\n", stderr);
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("wm_delete_window: cannot open the display\n", stderr);
        return 1;
    }
    const Window window = std::strtoul(arguments[1], nullptr, 0);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);

    bool supported = false;
    Atom *list = nullptr;
    int count = 0;
    if (XGetWMProtocols(display, window, &list, &count) != 0) {
        for (const Atom atom : std::span(list, static_cast<std::size_t>(count)))
            supported = supported || atom == deleteWindow;
        XFree(list);
    }
    if (!supported) {
        std::fprintf(stderr, "wm_delete_window: window %s does not take WM_DELETE_WINDOW\n", arguments[1]);
        XCloseDisplay(display);
        return 1;
    }

    XClientMessageEvent message {};
    message.type = ClientMessage;
    message.window = window;
    message.message_type = protocols;
    message.format = 32;
    message.data.l[0] = static_cast<long>(deleteWindow);
    message.data.l[1] = CurrentTime;
    XEvent event {};
    event.xclient = message;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
