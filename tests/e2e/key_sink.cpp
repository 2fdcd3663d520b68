// SPDX-License-Identifier: GPL-3.0-or-later
// Another program the user types in: a window titled "key sink" that writes each character typed
// into it to its standard output at once, Return as a new line. Its window id goes to the error
// output when it is mapped, followed by a line for each request to the window manager to add or
// remove a window's demand for attention ("remove _NET_WM_STATE_DEMANDS_ATTENTION 0x600005"):
// such requests go to the root window, where any program may watch them, so a test can tell the
// flags a program withdrew itself from those the window manager cleared.
//   key_sink
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <array>
#include <cstdio>

int main()
{
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("key_sink: cannot open the display\n", stderr);
        return 1;
    }
    const int screen = DefaultScreen(display);
    const Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 400, 300, 0,
                                              BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "key sink");
    XWMHints hints {};
    hints.flags = InputHint;
    hints.input = True; // takes the focus like any program the user types in
    XSetWMHints(display, window, &hints);
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, KeyPressMask);
    XMapWindow(display, window);
    std::fprintf(stderr, "%lu\n", window);
    XSelectInput(display, RootWindow(display, screen), SubstructureNotifyMask);
    const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
    const Atom state = XInternAtom(display, "_NET_WM_STATE", False);
    const Atom attention = XInternAtom(display, "_NET_WM_STATE_DEMANDS_ATTENTION", False);

    for (;;) {
        XEvent event {};
        XNextEvent(display, &event);
        if (event.type == ClientMessage && event.xclient.message_type == protocols
            && static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow)
            break;
        if (event.type == ClientMessage && event.xclient.message_type == state
            && (static_cast<Atom>(event.xclient.data.l[1]) == attention
                || static_cast<Atom>(event.xclient.data.l[2]) == attention)) {
            std::fprintf(stderr, "%s _NET_WM_STATE_DEMANDS_ATTENTION 0x%lx\n",
                         event.xclient.data.l[0] == 0 ? "remove" : "add", event.xclient.window);
            continue;
        }
        if (event.type != KeyPress)
            continue;
        std::array<char, 8> text {};
        KeySym key = 0;
        const int length
            = XLookupString(&event.xkey, text.data(), static_cast<int>(text.size()), &key, nullptr);
        for (int i = 0; i < length; ++i)
            std::putchar(text.at(static_cast<std::size_t>(i)) == '\r' ? '\n'
                                                                      : text.at(static_cast<std::size_t>(i)));
        std::fflush(stdout);
    }
    XCloseDisplay(display);
    return 0;
}
