// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/widgets/attention.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform {

namespace {

Display *x11Display()
{
    auto *x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->display() : nullptr;
}

// The urgency hint of ICCCM, which older taskbars and pagers read.
void setUrgencyHint(Display *display, Window id, bool urgent)
{
    XWMHints *hints = XGetWMHints(display, id);
    if (!hints)
        hints = XAllocWMHints();
    if (!hints)
        return;
    if (urgent)
        hints->flags |= XUrgencyHint;
    else
        hints->flags &= ~XUrgencyHint;
    XSetWMHints(display, id, hints);
    XFree(hints);
}

// _NET_WM_STATE of a mapped window belongs to the window manager: the client asks it by a message
// to the root window. Qt's own alert sets this state but clears it only when that very window is
// activated, which a main window under a modal box never is.
void setDemandsAttention(Display *display, Window id, bool demand)
{
    XEvent event {};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = demand ? 1 : 0; // _NET_WM_STATE_ADD or _NET_WM_STATE_REMOVE
    event.xclient.data.l[1]
        = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_DEMANDS_ATTENTION", False));
    event.xclient.data.l[3] = 1; // the request comes from an application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
}

void setAttention(QWidget *window, bool demand)
{
    if (!window || !window->testAttribute(Qt::WA_WState_Created))
        return;
    Display *display = x11Display();
    if (!display) {
        if (demand)
            QApplication::alert(window, 0); // Qt clears it when the window is activated
        return;
    }
    const auto id = static_cast<Window>(window->winId());
    setUrgencyHint(display, id, demand);
    setDemandsAttention(display, id, demand);
    XFlush(display);
}

} // namespace

void demandAttention(QWidget *window)
{
    setAttention(window, true);
}

void withdrawAttention(QWidget *window)
{
    setAttention(window, false);
}

bool programIsActive()
{
    return QGuiApplication::focusWindow() != nullptr;
}

} // namespace platform
