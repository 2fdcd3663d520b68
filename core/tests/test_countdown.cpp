// SPDX-License-Identifier: GPL-3.0-or-later
// The countdown's rules against a fake main window: entry, start, pause, resume, reset, the tick and
// the alarm. The tick is called directly.
#include "fakes.h"

#include <doctest/doctest.h>

TEST_CASE("the window loads the settings, then shows 03:00 and starts it")
{
    FakeMainWindow window;
    CHECK(window.settings.calls == std::vector<std::u16string> {u"load"});
    CHECK(window.display == u"03:00");
    window.countdown.cmdStart_Click();
    window.tick();
    CHECK(window.display == u"02:59");
}

TEST_CASE("digits shift in from the right; seconds are not normalised; other keys do nothing")
{
    FakeMainWindow window;
    window.type("1");
    CHECK(window.display == u"30:01");
    window.type("0a0 0");
    CHECK(window.display == u"10:00");
    window.countdown.cmdNum_Click(9);
    window.type("99");
    CHECK(window.display == u"09:99");
}

TEST_CASE("a start of 00:00 or of seconds over 59 is refused and leaves the window idle")
{
    for (const char *digits : {"0000", "0175", "9960"}) {
        CAPTURE(digits);
        FakeMainWindow window;
        window.start(digits);
        CHECK_FALSE(window.ticking);
        CHECK(window.digitsEnabled);
        CHECK(window.resetEnabled);
        // Still idle: the next Start/Stop starts what is entered then.
        window.start("0100");
        window.tick();
        CHECK(window.display == u"00:59");
    }
}

TEST_CASE("a run: only Start/Stop acts, and each tick borrows from the minutes")
{
    FakeMainWindow window;
    window.start("1000");
    CHECK(window.ticking);
    CHECK_FALSE(window.digitsEnabled);
    CHECK_FALSE(window.resetEnabled);
    CHECK(window.display == u"10:00"); // unchanged until the first tick
    window.tick();
    CHECK(window.display == u"09:59");
    window.tick(59);
    CHECK(window.display == u"09:00");
    CHECK(window.alarms.empty());
}

TEST_CASE("pause keeps the remaining time; resume goes on from it, whatever was typed meanwhile")
{
    FakeMainWindow window;
    window.start("0500");
    window.tick(170);
    window.countdown.cmdStart_Click();
    CHECK_FALSE(window.ticking);
    CHECK(window.resetEnabled);
    CHECK_FALSE(window.digitsEnabled);
    CHECK(window.display == u"02:10");

    window.clock.now += 60000; // a minute paused counts nothing
    window.type("0000"); // even a time that could not start
    window.countdown.cmdStart_Click();
    CHECK(window.ticking);
    CHECK_FALSE(window.resetEnabled);
    window.tick(); // a full second after the resume
    CHECK(window.display == u"02:09");
}

TEST_CASE("a start the window has no timer for stays paused: Reset works, and Start tries again")
{
    FakeMainWindow window;
    window.timerRefused = true;
    window.start("0130");
    CHECK_FALSE(window.ticking);
    CHECK(window.resetEnabled);
    CHECK_FALSE(window.digitsEnabled);

    window.timerRefused = false;
    window.countdown.cmdStart_Click();
    CHECK(window.ticking);
    CHECK_FALSE(window.resetEnabled);
}

TEST_CASE("reset returns to the time last started; after a pause the next start is a fresh one")
{
    FakeMainWindow window;
    window.start("0500");
    window.tick(170);
    window.countdown.cmdStart_Click();
    window.countdown.cmdReset_Click();
    CHECK(window.display == u"05:00");
    CHECK(window.digitsEnabled);

    window.type("1234"); // reset when idle drops the digits entered since
    window.countdown.cmdReset_Click();
    CHECK(window.display == u"05:00");

    window.start("0200");
    window.tick();
    CHECK(window.display == u"01:59");
}

TEST_CASE("digits during a run change the entered time only, until the next tick")
{
    FakeMainWindow window;
    window.start("0300");
    window.tick();
    window.type("5");
    CHECK(window.display == u"30:05");
    window.tick();
    CHECK(window.display == u"02:58");
    window.countdown.cmdStart_Click();
    window.countdown.cmdReset_Click();
    CHECK(window.display == u"03:00");
}

TEST_CASE("the alarm at 00:00: the message over a stopped timer, then the time last started")
{
    FakeMainWindow window;
    window.start("0001");
    std::u16string shownDuringAlarm;
    bool tickingDuringAlarm = true;
    window.whileAlarmOpen = [&] {
        shownDuringAlarm = window.display;
        tickingDuringAlarm = window.ticking;
    };
    window.tick();

    CHECK(window.alarms == std::vector<std::u16string> {u"アラームのお知らせ|アラームが鳴りましたよ。"});
    CHECK(shownDuringAlarm == u"00:00");
    CHECK_FALSE(tickingDuringAlarm); // a tick while it is open would count below 00:00
    CHECK(window.display == u"00:01");
    CHECK_FALSE(window.ticking);
    CHECK(window.digitsEnabled);
    CHECK(window.resetEnabled);

    window.countdown.cmdStart_Click(); // ready to start it again
    window.tick();
    CHECK(window.alarms.size() == 2);
}

TEST_CASE("the alarm's sound plays while the message is open, when the options window shows it on")
{
    struct Row
    {
        std::u16string enable;
        bool sounds;
    };
    // A hand-edited value plays exactly when the options window shows its box ticked.
    for (const Row &row :
         {Row {u"1", true}, Row {u" 01", true}, Row {u"1.0", true}, Row {u"+1", true}, Row {u"1.4", true},
          Row {u"0", false}, Row {u"", false}, Row {u"2", false}, Row {u"1.5", false}, Row {u"abc", false}}) {
        CAPTURE(row.enable);
        FakeMainWindow window;
        window.settings.enable = row.enable;
        window.settings.path = u"/tmp/アラーム.wav";
        std::vector<std::u16string> callsWhileOpen;
        window.whileAlarmOpen = [&] { callsWhileOpen = window.settings.calls; };
        window.start("0001");
        window.tick();
        const std::vector<std::u16string> sound {u"load", u"play:/tmp/アラーム.wav", u"stop"};
        const std::vector<std::u16string> none {u"load"};
        CHECK(window.settings.calls == (row.sounds ? sound : none));
        CHECK(callsWhileOpen.size() == (row.sounds ? 2 : 1));
    }
}

TEST_CASE("settings changed during a run apply to its alarm")
{
    FakeMainWindow window;
    window.start("0002");
    window.tick();
    window.settings.enable = u"1";
    window.settings.path = u"/tmp/new.wav";
    window.tick();
    CHECK(window.settings.calls == std::vector<std::u16string> {u"load", u"play:/tmp/new.wav", u"stop"});
}

TEST_CASE("a late tick makes up every whole second since the last one counted; a part second waits")
{
    struct Row
    {
        const char *name;
        const char *started;
        std::vector<std::int64_t> ticksAt; // milliseconds after Start
        std::u16string shown;
    };
    for (const Row &row : {
             Row {"read a little early", "0010", {920, 1950}, u"00:08"},
             Row {"late within its second, the next on time", "0010", {1800, 2000}, u"00:08"},
             Row {"two ticks within one second", "0010", {1000, 1500}, u"00:09"},
             Row {"stopped 5 s after 2 s", "0010", {1000, 2000, 7000}, u"00:03"},
             Row {"stopped 5.6 s: the part second counts at the next tick",
                  "0010",
                  {2000, 7600, 8000},
                  u"00:02"},
             Row {"the minutes borrowed", "0105", {1000, 7000}, u"00:58"},
         }) {
        CAPTURE(row.name);
        FakeMainWindow window;
        window.start(row.started);
        for (const std::int64_t at : row.ticksAt)
            window.tickAt(at);
        CHECK(window.display == row.shown);
        CHECK(window.ticking);
        CHECK(window.alarms.empty());
    }
}

TEST_CASE("a stall across 00:00: the alarm comes at once, the seconds beyond it are dropped")
{
    FakeMainWindow window;
    window.start("0010");
    window.tick(2);
    std::u16string shownDuringAlarm;
    bool tickingDuringAlarm = true;
    window.whileAlarmOpen = [&] {
        shownDuringAlarm = window.display;
        tickingDuringAlarm = window.ticking;
    };
    window.tickAt(30000);
    CHECK(window.alarms.size() == 1);
    CHECK(shownDuringAlarm == u"00:00");
    CHECK_FALSE(tickingDuringAlarm);
    CHECK(window.display == u"00:10");

    window.countdown.cmdStart_Click(); // the next run owes nothing of the stall
    window.tick();
    CHECK(window.display == u"00:09");
}

TEST_CASE("nothing is made up while the alarm's message is open, nor after it")
{
    FakeMainWindow window;
    window.start("0002");
    window.tick();
    std::vector<std::u16string> shownDuringAlarm;
    window.whileAlarmOpen = [&] {
        window.clock.now += 5000; // the message stays open 5 s...
        window.countdown.timeTic_Timer(); // ...and a tick queued before the timer stopped comes
        shownDuringAlarm.push_back(window.display);
    };
    window.tick();
    CHECK(shownDuringAlarm == std::vector<std::u16string> {u"00:00"});
    CHECK(window.display == u"00:02");

    window.whileAlarmOpen = nullptr;
    window.countdown.cmdStart_Click();
    window.tick();
    CHECK(window.display == u"00:01");
    CHECK(window.alarms.size() == 1);
}
