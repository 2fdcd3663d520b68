// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

class QDialog;
class QWidget;
class QWindow;

namespace platform {

// Runs a modal window that comes up while the user works in another program. It shows without
// taking the keyboard from that program, and it and its owner demand attention until the user
// turns to this program; from then on the window takes the keys. Its owner takes no input while it
// is open, as under any modal window.
//
// Qt gives the focus to every modal window it maps, so the window is shown without Qt's modality
// and the owner's input is held back here instead.
class QuietModal final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(QuietModal)

public:
    QuietModal(QDialog *window, QWidget *owner);
    ~QuietModal() override;

    // Shows the window and returns once it is closed.
    void exec();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void userTurnedToProgram();
    void withdraw();

    QPointer<QDialog> m_window;
    QPointer<QWidget> m_owner;
    QPointer<QWindow> m_ownerHandle;
    QPointer<QWindow> m_windowHandle;
    bool m_waiting = false; // shown, and the user has not turned to it yet
};

} // namespace platform
