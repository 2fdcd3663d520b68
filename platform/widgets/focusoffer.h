// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>

#include <functional>

class QWidget;

namespace platform {

// Tells when the window manager offers the focus to a window that does not take it by itself: the
// user activated the window from a taskbar, a pager or Alt+Tab. On X11 that offer is ICCCM's
// WM_TAKE_FOCUS message, and nothing answers it unless the program does. Elsewhere it never comes.
class FocusOffer final : public QAbstractNativeEventFilter
{
    Q_DISABLE_COPY_MOVE(FocusOffer)

public:
    // Watches WINDOW, whose native window must exist, until destroyed.
    FocusOffer(QWidget *window, std::function<void()> offered);
    ~FocusOffer() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    QPointer<QWidget> m_window;
    unsigned long m_windowId = 0;
    unsigned long m_wmProtocols = 0;
    unsigned long m_wmTakeFocus = 0;
    std::function<void()> m_offered;
};

} // namespace platform
