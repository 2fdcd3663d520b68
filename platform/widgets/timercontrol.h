// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QTimer>

namespace platform {

// The timer control of a window: ticks every Interval milliseconds while Enabled, on the
// user-interface thread. (The countdown keeps its run state itself.)
// Ticks are counted by the owner; the control itself reads no clock.
class TimerControl final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TimerControl)

public:
    explicit TimerControl(QObject *parent = nullptr);

    int interval() const;
    void setInterval(int milliseconds);

    bool isEnabled() const;
    void setEnabled(bool enabled);

signals:
    // One tick; tests emit it directly instead of waiting a real interval.
    void Timer();

private:
    QTimer m_timer;
};

} // namespace platform
