// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// What the countdown needs of the window that shows it. Each front-end's main window implements it.
class CountdownWindow
{
public:
    virtual ~CountdownWindow() = default;

    // The display label's text.
    virtual void setDisplayText(const std::u16string &text) = 0;
    // The ten digit buttons, 0 to 9 in this order.
    virtual void setDigitsEnabled(bool enabled) = 0;
    virtual void setResetEnabled(bool enabled) = 0;

    // The one-second timer: ticks come only while it is enabled.
    virtual bool timerEnabled() const = 0;
    // Enabling may fail where the system has no timer to give; timerEnabled() then stays false.
    virtual void setTimerEnabled(bool enabled) = 0;

    // The alarm's message box, modal with one OK button and no icon; returns once it is closed.
    virtual void showAlarm(const std::u16string &text, const std::u16string &title) = 0;
};
