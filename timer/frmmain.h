// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/countdown.h"
#include "core/countdownwindow.h"
#include "core/elapsedclock.h"
#include "platform/programsoundsettings.h"

#include <QMainWindow>

#include <array>

class QAction;
class QLabel;
class QPushButton;

namespace platform {
class TimerControl;
}

// The main window: one countdown, entered on a keypad, shown as "MM:SS". The countdown's logic is
// toolkit-free (Countdown); this window shows what it says and passes it the clicks, keys, ticks and
// the clock's time.
class frmMain final : public QMainWindow, private CountdownWindow, private ElapsedClock
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    explicit frmMain(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setupDesign();

    // What the countdown asks of its window.
    void setDisplayText(const std::u16string &text) override;
    void setDigitsEnabled(bool enabled) override;
    void setResetEnabled(bool enabled) override;
    bool timerEnabled() const override;
    void setTimerEnabled(bool enabled) override;
    void showAlarm(const std::u16string &text, const std::u16string &title) override;
    // The clock it measures the ticks with.
    std::int64_t milliseconds() const override;

    void mnOption_Click();

    QLabel *lblDisp = nullptr;
    std::array<QPushButton *, 10> cmdNum {};
    QPushButton *cmdReset = nullptr;
    QPushButton *cmdStart = nullptr;
    platform::TimerControl *timeTic = nullptr;
    QAction *mnOption = nullptr;

    Countdown m_countdown {*this, programSoundSettings(), *this};
};
