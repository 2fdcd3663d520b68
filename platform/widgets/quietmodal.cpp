// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/widgets/quietmodal.h"

#include "platform/widgets/attention.h"
#include "platform/widgets/focusoffer.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

// What a modal window keeps from its owner.
bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Close:
        return true;
    default:
        return false;
    }
}

// Creates the platform window of a window that has an owner before it is shown. Without the
// attribute, that would make each of the owner's widgets a native window of its own.
void createPlatformWindow(QWidget *window)
{
    const bool wasSet = QCoreApplication::testAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    window->winId();
    QCoreApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings, wasSet);
}

} // namespace

QuietModal::QuietModal(QDialog *window, QWidget *owner)
    : m_window(window)
    , m_owner(owner ? owner->window() : nullptr)
    , m_ownerHandle(m_owner ? m_owner->windowHandle() : nullptr)
{ }

QuietModal::~QuietModal()
{
    withdraw();
}

void QuietModal::exec()
{
    if (!m_window)
        return;
    m_window->setWindowModality(Qt::NonModal);
    // Both: some window managers focus a new transient window of an inactive program all the same.
    m_window->setAttribute(Qt::WA_ShowWithoutActivating);
    m_window->setWindowFlag(Qt::WindowDoesNotAcceptFocus);
    createPlatformWindow(m_window);
    // Its platform window sees every click into it, before the text or a button under the pointer.
    m_windowHandle = m_window->windowHandle();
    m_windowHandle->installEventFilter(this);
    const FocusOffer offer(m_window, [self = QPointer(this)] {
        if (self)
            self->userTurnedToProgram();
    });
    if (m_ownerHandle)
        m_ownerHandle->installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](const QWindow *focus) {
        if (focus)
            userTurnedToProgram();
    });

    // Over another modal window (the options window), it would be blocked by that one: as its
    // transient child it takes input, as a modal window shown last does.
    if (const QWidget *modal = QApplication::activeModalWidget(); modal && modal != m_window)
        m_windowHandle->setTransientParent(modal->windowHandle());

    QEventLoop loop;
    connect(m_window, &QDialog::finished, &loop, [&loop] { loop.quit(); });
    m_window->show();
    m_waiting = true;
    demandAttention(m_owner);
    demandAttention(m_window);
    loop.exec(QEventLoop::DialogExec);
    withdraw();
}

bool QuietModal::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ownerHandle && isInput(event->type())) {
        event->ignore();
        if (event->type() == QEvent::MouseButtonPress)
            userTurnedToProgram();
        return true;
    }
    // A click anywhere into the window turns to it, though it did not take the focus.
    if (watched == m_windowHandle && event->type() == QEvent::MouseButtonPress)
        userTurnedToProgram();
    return QObject::eventFilter(watched, event);
}

void QuietModal::userTurnedToProgram()
{
    withdraw();
    if (!m_window || !m_window->isVisible() || m_window->isActiveWindow())
        return;
    // The window takes the keys, wherever the user turned to the program (the taskbar, Alt+Tab,
    // a click). Its platform window changes in place; the widget's own flags would hide it.
    if (m_windowHandle) {
        m_windowHandle->setFlag(Qt::WindowDoesNotAcceptFocus, false);
        m_windowHandle->requestActivate();
    }
}

void QuietModal::withdraw()
{
    if (!m_waiting)
        return;
    m_waiting = false;
    withdrawAttention(m_owner);
    withdrawAttention(m_window);
}

} // namespace platform
