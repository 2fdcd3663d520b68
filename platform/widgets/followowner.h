// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace platform {

// Keeps an owned top-level window in its place over its owner while it is shown: when the owner is
// dragged the window moves along, and a move of its own (a window manager's Alt+drag of a window
// without a title bar) is undone, so the two never come apart. Made with the window as parent.
class FollowOwner final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(FollowOwner)

public:
    explicit FollowOwner(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void keepInPlace();

    QWidget *m_window;
    QWidget *m_owner;
    QPoint m_offset; // the window's place relative to its owner's, taken when it is shown
    bool m_shown = false;
    int m_undone = 0; // moves undone since the owner last moved; a window manager may insist
};

} // namespace platform
