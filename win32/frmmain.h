// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/countdown.h"
#include "core/countdownwindow.h"
#include "core/elapsedclock.h"
#include "win32/basewindow.h"
#include "win32/soundsettings.h"

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

class frmOption;

// The main window: one countdown, entered on a keypad, shown as "MM:SS". Shows what the countdown
// (toolkit-free) says and passes it the clicks, keys, ticks and the clock's time.
class frmMain final : public win32::BaseWindow, private CountdownWindow, private ElapsedClock
{
public:
    explicit frmMain(HINSTANCE instance);
    ~frmMain() override;

    // Creates the window, loads it and shows it centred on the screen. Registers the options
    // window's class too, so that it can open later. Returns why the program cannot start, or an
    // empty text.
    std::wstring show(int showCommand);
    // The key preview and the dialog keys, before a message of this window's thread is dispatched;
    // true when the message was handled.
    bool preTranslate(MSG &message);

private:
    std::vector<win32::ControlRow> controlTable();
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam) override;
    void placeWindow(UINT dpi, const RECT *suggested);
    void mnOption_Click();

    void setDisplayText(const std::u16string &text) override;
    void setDigitsEnabled(bool enabled) override;
    void setResetEnabled(bool enabled) override;
    bool timerEnabled() const override;
    void setTimerEnabled(bool enabled) override;
    void showAlarm(const std::u16string &text, const std::u16string &title) override;
    std::int64_t milliseconds() const override;

    HWND lblDisp = nullptr;
    std::array<HWND, 10> cmdNum {};
    HWND cmdReset = nullptr;
    HWND cmdStart = nullptr;
    bool m_timerEnabled = false; // timeTic.Enabled: a tick already queued when it stops is ignored
    std::unique_ptr<frmOption> m_options; // made at its first opening, kept until the end
    Countdown m_countdown {*this, win32::soundSettings(), *this};
};
