// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Fake windows and settings for the core's tests: they keep what a user would see and what the
// program asked of the settings and the sound, in the order it asked.
#include "core/countdown.h"
#include "core/countdownwindow.h"
#include "core/elapsedclock.h"
#include "core/optionswindow.h"
#include "core/soundsettings.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The settings in memory, a settings file that saves as told, and a sound channel that logs.
struct FakeSettings final : SoundSettings
{
    std::u16string enable = u"0";
    std::u16string path;
    SaveOutcome outcome = SaveOutcome::Saved;
    std::vector<std::u16string> calls; // "load", "play:PATH", "stop", "save:ENABLE|PATH"

    void loadOption() override { calls.emplace_back(u"load"); }
    std::u16string soundEnable() const override { return enable; }
    std::u16string soundPath() const override { return path; }
    SaveOutcome storeAndSave(const std::u16string &newEnable, const std::u16string &newPath) override
    {
        enable = newEnable;
        path = newPath;
        calls.push_back(u"save:" + newEnable + u"|" + newPath);
        return outcome;
    }
    std::u16string settingsFileForDisplay() const override { return u"/home/u/Pomvale.ini"; }
    void playSound(const std::u16string &sound) override { calls.push_back(u"play:" + sound); }
    void stopSound() override { calls.emplace_back(u"stop"); }
};

// A clock that moves only when the test moves it.
struct FakeClock final : ElapsedClock
{
    std::int64_t now = 0;
    std::int64_t milliseconds() const override { return now; }
};

// The main window as the user sees it, with the countdown driving it as the real one does.
struct FakeMainWindow final : CountdownWindow
{
    std::u16string display;
    bool digitsEnabled = true;
    bool resetEnabled = true;
    bool ticking = false;
    bool timerRefused = false; // the system has no timer to give
    std::vector<std::u16string> alarms; // "TITLE|TEXT" of each message box
    std::function<void()> whileAlarmOpen;
    FakeSettings settings;
    FakeClock clock;
    Countdown countdown {*this, settings, clock};

    FakeMainWindow() { countdown.Form_Load(); }

    void setDisplayText(const std::u16string &text) override { display = text; }
    void setDigitsEnabled(bool enabled) override { digitsEnabled = enabled; }
    void setResetEnabled(bool enabled) override { resetEnabled = enabled; }
    bool timerEnabled() const override { return ticking; }
    void setTimerEnabled(bool enabled) override { ticking = enabled && !timerRefused; }
    void showAlarm(const std::u16string &text, const std::u16string &title) override
    {
        alarms.push_back(title + u"|" + text);
        if (whileAlarmOpen)
            whileAlarmOpen();
    }

    // Digits typed on the keyboard, whichever control has the focus.
    void type(std::string_view keys)
    {
        for (const char key : keys)
            countdown.Form_KeyPress(key);
    }
    // Digits typed, then Start/Stop.
    void start(std::string_view keys)
    {
        type(keys);
        countdown.cmdStart_Click();
    }
    // The timer's ticks, as many as asked, each a second after the one before and only while the
    // timer is enabled.
    void tick(int count = 1)
    {
        for (int i = 0; i < count && ticking; ++i) {
            clock.now += 1000;
            countdown.timeTic_Timer();
        }
    }
    // One tick that comes when the clock reads the given time, however late.
    void tickAt(std::int64_t milliseconds)
    {
        clock.now = milliseconds;
        if (ticking)
            countdown.timeTic_Timer();
    }
};

// The options window as the user sees it.
struct FakeOptionsWindow final : OptionsWindow
{
    CheckValue check = CheckValue::Unchecked;
    std::u16string pathBox = u"c:\\";
    bool pathSelected = false;
    bool frameVisible = false;
    std::u16string chosenFile; // what the file dialog returns
    std::vector<std::u16string> dialogFilters;
    std::vector<std::u16string> warnings; // "TITLE|TEXT"
    bool unloaded = false;

    CheckValue checkValue() const override { return check; }
    void setCheckValue(CheckValue value) override { check = value; }
    std::u16string pathText() const override { return pathBox; }
    void setPathText(const std::u16string &text) override { pathBox = text; }
    void selectAllPathText() override { pathSelected = true; }
    void setFrameVisible(bool visible) override { frameVisible = visible; }
    std::u16string showOpenDialog(const std::u16string &filter) override
    {
        dialogFilters.push_back(filter);
        return chosenFile;
    }
    void showWarning(const std::u16string &text, const std::u16string &title) override
    {
        warnings.push_back(title + u"|" + text);
    }
    void unload() override { unloaded = true; }
};
