// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/widgets/timercontrol.h"

namespace platform {

TimerControl::TimerControl(QObject *parent)
    : QObject(parent)
{
    // A coarse timer may end a tick up to 5 % early or late; a countdown needs each second on time.
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &TimerControl::Timer);
}

int TimerControl::interval() const
{
    return m_timer.interval();
}

void TimerControl::setInterval(int milliseconds)
{
    m_timer.setInterval(milliseconds);
}

bool TimerControl::isEnabled() const
{
    return m_timer.isActive();
}

void TimerControl::setEnabled(bool enabled)
{
    // Enabling a running timer must not restart its interval.
    if (enabled == m_timer.isActive())
        return;
    if (enabled)
        m_timer.start();
    else
        m_timer.stop();
}

} // namespace platform
