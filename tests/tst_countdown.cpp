// SPDX-License-Identifier: GPL-3.0-or-later
// The countdown through the real main window: what its widgets show of a run and of the alarm, the
// keys on a focused button, and the real message box. The countdown's rules themselves are tested
// in core/tests. The tick is fired directly; no test waits a real second.
#include "app/application.h"
#include "helpers.h"
#include "platform/widgets/timercontrol.h"
#include "settings/modpomvale.h"
#include "timer/frmmain.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <memory>

class tst_Countdown : public QObject, MainWindowFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { app::setupApplication(*qApp); }
    void init();
    void cleanup();

    void ticksCountDownBorrowingFromTheMinutes_data();
    void ticksCountDownBorrowingFromTheMinutes();
    void digitKeysDuringARunChangeOnlyTheEnteredTime();
    void alarmAtZeroShowsTheMessageThenReturnsToTheTimeLastStarted();
    void alarmSound_data();
    void alarmSound();
    void realMessageBoxHasTheTextTitleAndOneButton();

private:
    bool digitButtonsEnabled() const; // all ten; fails the test if they disagree

    std::unique_ptr<FakeMessageBox> m_messageBox;
    std::unique_ptr<FakeSoundPlayer> m_sound;
};

void tst_Countdown::init()
{
    m_messageBox = std::make_unique<FakeMessageBox>();
    m_sound = std::make_unique<FakeSoundPlayer>();
    QVERIFY(showMainWindow());
    modPomvale::SoundEnable = QString(QStringLiteral("0")).toStdU16String();
    modPomvale::SoundPath.clear();
}

void tst_Countdown::cleanup()
{
    closeMainWindow();
    m_sound.reset();
    m_messageBox.reset();
}

bool tst_Countdown::digitButtonsEnabled() const
{
    const bool first = button(QStringLiteral("cmdNum0"))->isEnabled();
    for (int digit = 1; digit <= 9; ++digit) {
        if (button(QStringLiteral("cmdNum%1").arg(digit))->isEnabled() != first)
            qFatal("the digit buttons disagree on their enabled state");
    }
    return first;
}

void tst_Countdown::ticksCountDownBorrowingFromTheMinutes_data()
{
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("shown");
    QTest::newRow("10:00, sixty ticks") << "1000" << 60 << "09:00";
}

void tst_Countdown::ticksCountDownBorrowingFromTheMinutes()
{
    QFETCH(QString, digits);
    QFETCH(int, ticks);
    QFETCH(QString, shown);
    type(digits);
    click(QStringLiteral("cmdStart"));

    // Running: the display keeps the entered time until the first tick; only Start/Stop is enabled.
    QVERIFY(timer()->isEnabled());
    QCOMPARE(timer()->interval(), 1000);
    QVERIFY(!digitButtonsEnabled());
    QVERIFY(!button(QStringLiteral("cmdReset"))->isEnabled());
    QVERIFY(button(QStringLiteral("cmdStart"))->isEnabled());
    QCOMPARE(button(QStringLiteral("cmdStart"))->text(), QStringLiteral("Start/Stop"));

    tick(ticks);
    QCOMPARE(display(), shown);
    QVERIFY(timer()->isEnabled());
    QVERIFY(m_messageBox->texts.isEmpty());
}

void tst_Countdown::digitKeysDuringARunChangeOnlyTheEnteredTime()
{
    type(QStringLiteral("0300"));
    click(QStringLiteral("cmdStart"));
    tick();
    QCOMPARE(display(), QStringLiteral("02:59"));

    QTest::keyClick(button(QStringLiteral("cmdStart")), '5');
    QCOMPARE(display(), QStringLiteral("30:05")); // the entered time, until the next tick
    tick();
    QCOMPARE(display(), QStringLiteral("02:58")); // the countdown itself went on untouched

    click(QStringLiteral("cmdStart"));
    click(QStringLiteral("cmdReset"));
    QCOMPARE(display(), QStringLiteral("03:00")); // the time last started, not the digits typed
}

void tst_Countdown::alarmAtZeroShowsTheMessageThenReturnsToTheTimeLastStarted()
{
    type(QStringLiteral("0001"));
    click(QStringLiteral("cmdStart"));

    QString shownDuringAlarm;
    bool tickingDuringAlarm = true;
    m_messageBox->whileOpen = [&] {
        shownDuringAlarm = display();
        tickingDuringAlarm = timer()->isEnabled();
    };
    tick();

    QCOMPARE(m_messageBox->texts, QStringList {QStringLiteral("アラームが鳴りましたよ。")});
    QCOMPARE(m_messageBox->titles, QStringList {QStringLiteral("アラームのお知らせ")});
    QCOMPARE(m_messageBox->owners.constFirst(), m_window.get());
    QCOMPARE(shownDuringAlarm, QStringLiteral("00:00"));
    QVERIFY2(!tickingDuringAlarm, "a tick while the message is open would count below 00:00");

    // Back at the time last started, idle, every button enabled, ready to start it again.
    QCOMPARE(display(), QStringLiteral("00:01"));
    QVERIFY(!timer()->isEnabled());
    QVERIFY(digitButtonsEnabled());
    QVERIFY(button(QStringLiteral("cmdReset"))->isEnabled());
    QVERIFY(m_sound->calls.isEmpty());

    click(QStringLiteral("cmdStart"));
    QVERIFY(timer()->isEnabled());
    tick();
    QCOMPARE(m_messageBox->texts.size(), 2);

    // Idle after an alarm: Start/Stop starts a time entered since.
    type(QStringLiteral("0005"));
    click(QStringLiteral("cmdStart"));
    tick();
    QCOMPARE(display(), QStringLiteral("00:04"));
}

void tst_Countdown::alarmSound_data()
{
    QTest::addColumn<QString>("enable");
    QTest::addColumn<QStringList>("calls");
    const QString path = QStringLiteral("/tmp/アラーム.wav");
    QTest::newRow("on") << "1" << QStringList {QStringLiteral("play:") + path, QStringLiteral("stop")};
    QTest::newRow("off") << "0" << QStringList {};
}

void tst_Countdown::alarmSound()
{
    QFETCH(QString, enable);
    QFETCH(QStringList, calls);

    QStringList callsWhileOpen;
    m_messageBox->whileOpen = [&] { callsWhileOpen = m_sound->calls; };
    type(QStringLiteral("0002"));
    click(QStringLiteral("cmdStart"));
    tick();
    // The alarm reads the settings as they stand when it comes.
    modPomvale::SoundEnable = QString(enable).toStdU16String();
    modPomvale::SoundPath = QString(QStringLiteral("/tmp/アラーム.wav")).toStdU16String();
    tick();

    QCOMPARE(m_sound->calls, calls);
    // The sound starts before the message and is cut off only once the message is closed.
    QCOMPARE(callsWhileOpen, calls.mid(0, 1));
}

void tst_Countdown::realMessageBoxHasTheTextTitleAndOneButton()
{
    m_messageBox.reset(); // the real, modal message box

    QString title;
    QString text;
    int buttons = -1;
    bool iconless = false;
    bool centred = false;
    whenModal<QMessageBox>(this, [&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        buttons = int(box->buttons().size());
        iconless = box->icon() == QMessageBox::NoIcon;
        const QPoint offCentre = box->frameGeometry().center() - m_window->frameGeometry().center();
        centred = offCentre.manhattanLength() <= 4;
        QTest::mouseClick(box->buttons().constFirst(), Qt::LeftButton);
    });

    type(QStringLiteral("0001"));
    click(QStringLiteral("cmdStart"));
    tick(); // returns once the box is closed

    QCOMPARE(title, QStringLiteral("アラームのお知らせ"));
    QCOMPARE(text, QStringLiteral("アラームが鳴りましたよ。"));
    QCOMPARE(buttons, 1);
    QVERIFY(iconless);
    QVERIFY(centred);
    QCOMPARE(display(), QStringLiteral("00:01"));
}

QTEST_MAIN(tst_Countdown)
#include "tst_countdown.moc"
