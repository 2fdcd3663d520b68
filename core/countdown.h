// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

class CountdownWindow;
class ElapsedClock;
class SoundSettings;

// What the countdown is doing. Read from the window's timer (Enabled) and the timer's Tag, and kept
// nowhere else. Paused also covers the moment the alarm's message is open, until its reset.
enum class CountdownState {
    Idle, // no run begun since the last reset: Start/Stop starts the entered time
    Running, // the timer ticks
    Paused, // a run begun and stopped: Start/Stop resumes it, reset returns to the time last started
};

// What ShowTime puts on the display.
enum class ShowSelector {
    Entered = 0, // the time on the keypad
    Remaining = 1, // the time left of the run
};

// The main window's countdown: time entry on the keypad and keyboard, the display, start, pause,
// resume and reset, the one-second tick and the alarm. Knows no toolkit; its window is told what to
// show, and its clock how much time has passed.
class Countdown final
{
public:
    Countdown(CountdownWindow &window, SoundSettings &settings, const ElapsedClock &clock);
    Countdown(const Countdown &) = delete;
    Countdown &operator=(const Countdown &) = delete;

    // Time entry and display
    void Form_Load();
    void Form_KeyPress(int KeyAscii);
    void cmdNum_Click(int Index);

    // Run control and alarm
    void cmdStart_Click();
    void cmdReset_Click();
    void timeTic_Timer();

private:
    void PushDigit(int Digit);
    void ShowTime(ShowSelector Selector);
    CountdownState state() const;
    void RaiseAlarm();

    CountdownWindow &m_window;
    SoundSettings &m_settings;
    const ElapsedClock &m_clock;
    // The clock's time at the end of the last second counted, or at the start or resume of the run.
    std::int64_t m_countedUntil = 0;
    // The timer's Tag: "計測中" from a fresh start until the next reset (a run going or paused).
    std::u16string m_timerTag;

    // Minutes and seconds are 16-bit like the keypad's four digits allow.
    std::int16_t SetMin = 0; // the time last started; a reset returns to it
    std::int16_t SetSec = 0;
    std::u16string DispText; // the text last written to the display
    std::u16string DigitText; // work string of PushDigit
    std::int16_t InMin = 0; // the entered time, 0..99 each
    std::int16_t InSec = 0;
    std::int16_t LeftMin = 0; // the remaining time of the current run
    std::int16_t LeftSec = 0;
};
