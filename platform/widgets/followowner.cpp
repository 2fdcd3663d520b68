// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/widgets/followowner.h"

#include <QEvent>
#include <QWidget>

namespace platform {

namespace {

// A window manager that keeps putting the window elsewhere wins after this many tries, rather than
// the two trading moves for ever.
constexpr int MaxUndone = 3;

} // namespace

FollowOwner::FollowOwner(QWidget *window)
    : QObject(window)
    , m_window(window)
    , m_owner(window->parentWidget() ? window->parentWidget()->window() : nullptr)
{
    m_window->installEventFilter(this);
    if (m_owner)
        m_owner->installEventFilter(this);
}

bool FollowOwner::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_owner)
        return false;
    if (watched == m_window) {
        if (event->type() == QEvent::Show) {
            m_offset = m_window->pos() - m_owner->pos();
            m_shown = true;
            m_undone = 0;
        } else if (event->type() == QEvent::Hide) {
            m_shown = false;
        } else if (event->type() == QEvent::Move && m_shown && m_window->pos() != m_owner->pos() + m_offset) {
            if (m_undone < MaxUndone) {
                ++m_undone;
                keepInPlace();
            } else {
                m_offset = m_window->pos() - m_owner->pos();
            }
        }
    } else if (watched == m_owner && event->type() == QEvent::Move && m_shown) {
        m_undone = 0;
        keepInPlace();
    }
    return false;
}

void FollowOwner::keepInPlace()
{
    m_window->move(m_owner->pos() + m_offset);
}

} // namespace platform
