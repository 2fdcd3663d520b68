#include "platform/keypreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

KeyPreview::KeyPreview(QWidget *window)
    : QObject(window)
    , m_window(window)
{
    // Watching the application sees keys for widgets created later, too.
    qApp->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease) {
        m_lastKey = nullptr;
        return false;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;

    const auto *widget = static_cast<const QWidget *>(watched);
    if (widget->window() != m_window)
        return false;
    if (event == m_lastKey && widget->isAncestorOf(m_lastReceiver))
        return false; // the same key, passed on to a parent
    m_lastKey = event;
    m_lastReceiver = widget;

    const auto *key = static_cast<const QKeyEvent *>(event);
    // Ctrl and Alt combinations are commands, not typed characters.
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;
    const QString text = key->text();
    if (text.size() == 1 && text.at(0).unicode() >= 0x20)
        emit keyPress(text.at(0).unicode());
    return false;
}

} // namespace platform
