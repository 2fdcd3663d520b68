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

// What a modal window keeps from the program's other windows. The platform delivers it to their
// platform windows; a close request comes only that way, while the program closes its own widgets.
bool isInput(const QObject *receiver, QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::Wheel:
        return true;
    case QEvent::Close:
        return receiver->isWindowType();
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
{ }

QuietModal::~QuietModal()
{
    qApp->removeEventFilter(this);
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
    m_windowHandle = m_window->windowHandle();
    // Every window of the program, those opened meanwhile included: input reaches a platform window
    // first (a click into the box before its text or a button), and a widget straight only from a
    // test driver.
    qApp->installEventFilter(this);
    const FocusOffer offer(m_window, [self = QPointer(this)] {
        if (self)
            self->userTurnedToProgram();
    });
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
    qApp->removeEventFilter(this);
    withdraw();
}

bool QuietModal::eventFilter(QObject *watched, QEvent *event)
{
    if (!isInput(watched, event->type()))
        return false;
    // A click anywhere into the program turns to it, though the box did not take the focus.
    if (event->type() == QEvent::MouseButtonPress)
        userTurnedToProgram();
    if (isOfThisWindow(watched))
        return false;
    // Taken as a shortcut of its own, a key would come as a plain key press, which is held back.
    event->setAccepted(event->type() == QEvent::ShortcutOverride);
    return true;
}

// Whether RECEIVER is the window, one of its widgets, or a window of its own such as a menu.
bool QuietModal::isOfThisWindow(const QObject *receiver) const
{
    const QWindow *window = nullptr;
    if (receiver->isWindowType())
        window = static_cast<const QWindow *>(receiver);
    else if (receiver->isWidgetType())
        window = static_cast<const QWidget *>(receiver)->window()->windowHandle();
    else
        return true; // no window's input
    for (; window; window = window->parent(QWindow::IncludeTransients)) {
        if (window == m_windowHandle)
            return true;
    }
    return false;
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
