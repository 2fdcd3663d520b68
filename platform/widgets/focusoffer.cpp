// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/widgets/focusoffer.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>

#include <X11/Xlib.h>
#include <xcb/xcb.h>

namespace platform {

FocusOffer::FocusOffer(QWidget *window, std::function<void()> offered)
    : m_window(window)
    , m_offered(std::move(offered))
{
    auto *x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    // The headless platform offers the interface without a display.
    if (!x11 || !x11->display() || !window)
        return;
    m_windowId = window->winId();
    m_wmProtocols = XInternAtom(x11->display(), "WM_PROTOCOLS", False);
    m_wmTakeFocus = XInternAtom(x11->display(), "WM_TAKE_FOCUS", False);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

FocusOffer::~FocusOffer()
{
    if (m_windowId)
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool FocusOffer::nativeEventFilter(const QByteArray &eventType, void *message, qintptr * /*result*/)
{
    if (eventType != "xcb_generic_event_t" || !m_window)
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    if ((event->response_type & ~0x80) != XCB_CLIENT_MESSAGE)
        return false;
    const auto *client = static_cast<const xcb_client_message_event_t *>(message);
    if (client->window == m_windowId && client->type == m_wmProtocols && client->format == 32
        && client->data.data32[0] == m_wmTakeFocus) {
        // Answered once Qt has taken the message's time, which the answer's request carries.
        QMetaObject::invokeMethod(m_window, m_offered, Qt::QueuedConnection);
    }
    return false;
}

} // namespace platform
