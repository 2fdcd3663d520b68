// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/countdown.h"

#include "core/countdownwindow.h"
#include "core/elapsedclock.h"
#include "core/soundsettings.h"
#include "core/soundswitch.h"
#include "core/textnumber.h"

namespace {

// The timer's Tag from a fresh start until the next reset: a run is going or paused.
constexpr std::u16string_view RunTag = u"計測中";

constexpr std::int64_t Second = 1000; // milliseconds
// A second counts once this much of it has passed: the timer and the clock may round the same moment
// a little apart, and a tick read early must not be lost.
constexpr std::int64_t SecondDue = Second - 100;

// The two digits at a position of PushDigit's work string, as a number.
std::int16_t twoDigits(const std::u16string &text, std::size_t position)
{
    return static_cast<std::int16_t>((text.at(position) - u'0') * 10 + (text.at(position + 1) - u'0'));
}

} // namespace

Countdown::Countdown(CountdownWindow &window, SoundSettings &settings, const ElapsedClock &clock)
    : m_window(window)
    , m_settings(settings)
    , m_clock(clock)
{ }

// ---- Time entry and display ----

void Countdown::Form_Load()
{
    m_settings.loadOption();
    SetMin = 3;
    InMin = 3;
    SetSec = 0;
    InSec = 0;
    ShowTime(ShowSelector::Entered);
}

void Countdown::Form_KeyPress(int KeyAscii)
{
    // Only digits act; every key still reaches the focused control afterwards.
    if (KeyAscii >= '0' && KeyAscii <= '9')
        cmdNum_Click(KeyAscii - '0');
}

void Countdown::cmdNum_Click(int Index)
{
    PushDigit(Index);
    ShowTime(ShowSelector::Entered);
}

void Countdown::PushDigit(int Digit)
{
    // The four digits move one place left; the new digit enters on the right.
    // Minutes and seconds are not normalised: seconds up to 99 stay as typed.
    DigitText
        = core::formatTwoDigits(InMin) + core::formatTwoDigits(InSec) + static_cast<char16_t>(u'0' + Digit);
    InMin = twoDigits(DigitText, 1);
    InSec = twoDigits(DigitText, 3);
}

void Countdown::ShowTime(ShowSelector Selector)
{
    const bool remaining = Selector == ShowSelector::Remaining;
    const std::int16_t minutes = remaining ? LeftMin : InMin;
    const std::int16_t seconds = remaining ? LeftSec : InSec;
    DispText = core::formatTwoDigits(minutes) + u':' + core::formatTwoDigits(seconds);
    m_window.setDisplayText(DispText);
}

// ---- Run control and alarm ----

CountdownState Countdown::state() const
{
    if (m_window.timerEnabled())
        return CountdownState::Running;
    return m_timerTag == RunTag ? CountdownState::Paused : CountdownState::Idle;
}

void Countdown::cmdStart_Click()
{
    const CountdownState before = state();
    if (before == CountdownState::Running) { // pause
        m_window.setTimerEnabled(false);
        m_window.setResetEnabled(true);
        return;
    }
    if (before == CountdownState::Idle) { // a fresh start of the entered time
        if (InSec > 59 || (InMin == 0 && InSec == 0))
            return; // refused without a word
        LeftMin = InMin;
        SetMin = InMin;
        LeftSec = InSec;
        SetSec = InSec;
        m_window.setDigitsEnabled(false);
        m_timerTag = RunTag;
    }
    // A fresh start, or a resume of a paused run from its remaining time; either begins a new second.
    m_countedUntil = m_clock.milliseconds();
    m_window.setResetEnabled(false);
    m_window.setTimerEnabled(true);
    if (!m_window.timerEnabled()) // the system gave the window no timer: the run stays paused
        m_window.setResetEnabled(true);
}

void Countdown::cmdReset_Click()
{
    InSec = SetSec;
    InMin = SetMin;
    if (state()
        != CountdownState::Idle) { // paused, or at the end of the alarm; the next start is a fresh one
        m_window.setDigitsEnabled(true);
        m_timerTag.clear();
    }
    ShowTime(ShowSelector::Entered);
}

void Countdown::timeTic_Timer()
{
    if (state() != CountdownState::Running)
        return; // a tick already queued when the timer stopped, as under the alarm's message
    // The timer fires once after a stall, however many seconds it missed (a stopped process, a
    // suspended machine, a busy interface thread): each whole second since the last one counted is
    // made up now by the same rule, so that the display and the alarm keep to real time.
    const std::int64_t now = m_clock.milliseconds();
    if (now - m_countedUntil < SecondDue)
        return;
    do {
        m_countedUntil += Second;
        LeftSec = static_cast<std::int16_t>(LeftSec - 1);
        if (LeftSec < 0) {
            LeftSec = 59;
            LeftMin = static_cast<std::int16_t>(LeftMin - 1);
        }
        if (LeftSec == 0 && LeftMin == 0) {
            ShowTime(ShowSelector::Remaining);
            RaiseAlarm(); // the seconds still owed are dropped
            return;
        }
    } while (now - m_countedUntil >= SecondDue);
    ShowTime(ShowSelector::Remaining); // once: a screen reader reads out each change of the display
}

void Countdown::RaiseAlarm()
{
    // The ticks stop before the message: one handled while it is open would count below 00:00.
    m_window.setTimerEnabled(false);
    // The settings are read now, so a change made during the run applies to its alarm.
    const bool sound = modPomvale::SoundIsOn(m_settings.soundEnable());
    if (sound)
        m_settings.playSound(m_settings.soundPath());
    m_window.showAlarm(u"アラームが鳴りましたよ。", u"アラームのお知らせ");
    if (sound)
        m_settings.stopSound();
    cmdReset_Click();
    m_window.setResetEnabled(true);
}
