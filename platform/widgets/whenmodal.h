// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A way to act on a real modal window, for the test suites (through helpers.h) and the screenshot
// tool; it needs Qt Widgets only.
#include <QApplication>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Runs act on the next modal window of type W as soon as it is shown, then closes it if act left it
// open. The modal loop blocks the caller, so a timer polls for the window.
template<typename W> void whenModal(QObject *context, std::function<void(W *)> act)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, act = std::move(act)] {
        auto *window = qobject_cast<W *>(QApplication::activeModalWidget());
        if (!window)
            return;
        poll->deleteLater();
        poll->stop();
        const QPointer<W> shown(window); // act may delete it
        act(window);
        if (shown && shown->isVisible())
            shown->close();
    });
    poll->start(5);
}
