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
// turns to this program; from then on the window takes the keys. No other window of the program
// takes input while it is open (its owner, an options window under it, a dialog of that one), as
// under any window modal to the program.
//
// Qt gives the focus to every modal window it maps, so the window is shown without Qt's modality
// and the input of the program's other windows is held back here instead.
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
    bool isOfThisWindow(const QObject *receiver) const;
    void userTurnedToProgram();
    void withdraw();

    QPointer<QDialog> m_window;
    QPointer<QWidget> m_owner;
    QPointer<QWindow> m_windowHandle;
    bool m_waiting = false; // shown, and the user has not turned to it yet
};

} // namespace platform
