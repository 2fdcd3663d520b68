#include "timer/frmmain.h"

#include "options/frmoption.h"
#include "platform/services.h"
#include "platform/sound/soundplayer.h"
#include "platform/textnumber.h"
#include "platform/widgets/commandbutton.h"
#include "platform/widgets/messagebox.h"
#include "platform/widgets/timercontrol.h"
#include "platform/widgets/twips.h"
#include "settings/modpomvale.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

using platform::twipsRect;

namespace {

// The timer's Tag from a fresh start until the next reset: a run is going or paused.
const QString Running = QStringLiteral("計測中");

struct ButtonDesign
{
    int index = 0; // the digit on the button
    QRect geometry;
};

// The keypad in tab order: 1, then 0, then 2 to 9.
const std::array<ButtonDesign, 10> Keypad {{
    {1, twipsRect(120, 720, 495, 495)},
    {0, twipsRect(120, 2520, 495, 495)},
    {2, twipsRect(720, 720, 495, 495)},
    {3, twipsRect(1320, 720, 495, 495)},
    {4, twipsRect(120, 1320, 495, 495)},
    {5, twipsRect(720, 1320, 495, 495)},
    {6, twipsRect(1320, 1320, 495, 495)},
    {7, twipsRect(120, 1920, 495, 495)},
    {8, twipsRect(720, 1920, 495, 495)},
    {9, twipsRect(1320, 1920, 495, 495)},
}};

} // namespace

frmMain::frmMain(QWidget *parent)
    : QMainWindow(parent)
{
    setupDesign();
    Form_Load();

    // Centred on the screen when first shown; the size is final once the layout has run.
    layout()->activate();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmMain::setupDesign()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pomvale"));
    // A fixed single border: title bar and close box, no minimize or maximize box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);

    mnOption = menuBar()->addAction(QStringLiteral("オプション(&O)"));
    mnOption->setObjectName(QStringLiteral("mnOption"));
    connect(mnOption, &QAction::triggered, this, &frmMain::mnOption_Click);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(platform::twips(1980), platform::twips(3720));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize); // the user cannot resize the window

    lblDisp = new QLabel(QStringLiteral("03:00"), client);
    lblDisp->setObjectName(QStringLiteral("lblDisp"));
    lblDisp->setGeometry(twipsRect(0, 0, 1935, 615));
    lblDisp->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblDisp->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    QFont displayFont(QStringLiteral("ＭＳ ゴシック"), 24, QFont::Normal);
    displayFont.setStyleHint(QFont::TypeWriter);
    lblDisp->setFont(displayFont);
    lblDisp->setAccessibleDescription(QStringLiteral("時間"));

    QWidget *previous = nullptr;
    for (const ButtonDesign &design : Keypad) {
        const int index = design.index;
        auto *button = platform::makeCommandButton(client, QString::number(index),
                                                   QStringLiteral("cmdNum%1").arg(index), design.geometry);
        connect(button, &QPushButton::clicked, this, [this, index] { cmdNum_Click(index); });
        cmdNum.at(index) = button;
        if (previous)
            setTabOrder(previous, button);
        previous = button;
    }
    cmdReset = platform::makeCommandButton(client, QStringLiteral("Reset"), QStringLiteral("cmdReset"),
                                           twipsRect(720, 2520, 1095, 495));
    setTabOrder(previous, cmdReset);
    cmdStart = platform::makeCommandButton(client, QStringLiteral("Start/Stop"), QStringLiteral("cmdStart"),
                                           twipsRect(120, 3120, 1695, 495));
    setTabOrder(cmdReset, cmdStart);
    connect(cmdReset, &QPushButton::clicked, this, &frmMain::cmdReset_Click);
    connect(cmdStart, &QPushButton::clicked, this, &frmMain::cmdStart_Click);

    timeTic = new platform::TimerControl(this);
    timeTic->setObjectName(QStringLiteral("timeTic"));
    timeTic->setInterval(1000);
    timeTic->setEnabled(false);
    connect(timeTic, &platform::TimerControl::Timer, this, &frmMain::timeTic_Timer);

    cmdNum.at(1)->setFocus(); // the first control in tab order that can take the focus
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    // The buttons leave typed characters to their window, so a digit reaches here whichever of them
    // has the focus. Ctrl and Alt combinations are commands, not typed characters.
    const QString text = event->text();
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && text.size() == 1)
        Form_KeyPress(text.at(0).unicode());
    QMainWindow::keyPressEvent(event);
}

// ---- Time entry and display ----

void frmMain::Form_Load()
{
    modPomvale::LoadOption();
    SetMin = 3;
    InMin = 3;
    SetSec = 0;
    InSec = 0;
    ShowTime(0);
}

void frmMain::Form_KeyPress(int KeyAscii)
{
    // Only digits act; every key still reaches the focused control afterwards.
    if (KeyAscii >= '0' && KeyAscii <= '9')
        cmdNum_Click(KeyAscii - '0');
}

void frmMain::cmdNum_Click(int Index)
{
    PushDigit(Index);
    ShowTime(0);
}

void frmMain::PushDigit(int Digit)
{
    // The four digits move one place left; the new digit enters on the right.
    // Minutes and seconds are not normalised: seconds up to 99 stay as typed.
    DigitText = platform::formatTwoDigits(InMin) + platform::formatTwoDigits(InSec) + QString::number(Digit);
    InMin = DigitText.mid(1, 2).toShort();
    InSec = DigitText.mid(3, 2).toShort();
}

void frmMain::ShowTime(int Selector)
{
    const bool remaining = Selector == 1;
    const qint16 minutes = remaining ? LeftMin : InMin;
    const qint16 seconds = remaining ? LeftSec : InSec;
    DispText = platform::formatTwoDigits(minutes) + QLatin1Char(':') + platform::formatTwoDigits(seconds);
    lblDisp->setText(DispText);
    // Screen readers hear the time as the label's name, and each change of it as it happens.
    lblDisp->setAccessibleName(DispText);
}

void frmMain::RestoreSetTime()
{
    InSec = SetSec;
    InMin = SetMin;
    ShowTime(0);
}

// ---- Run control and alarm ----

void frmMain::cmdStart_Click()
{
    if (timeTic->isEnabled()) { // running: pause
        timeTic->setEnabled(false);
        cmdReset->setEnabled(true);
        return;
    }
    if (timeTic->tag().isEmpty()) { // idle: a fresh start of the entered time
        if (InSec > 59 || (InMin == 0 && InSec == 0))
            return; // refused without a word
        LeftMin = InMin;
        SetMin = InMin;
        LeftSec = InSec;
        SetSec = InSec;
        for (QPushButton *button : cmdNum)
            button->setEnabled(false);
        timeTic->setTag(Running);
    }
    // A fresh start, or a resume of a paused run from its remaining time.
    cmdReset->setEnabled(false);
    timeTic->setEnabled(true);
}

void frmMain::cmdReset_Click()
{
    RestoreSetTime();
    if (timeTic->tag() == Running) { // paused, or at the end of the alarm
        LeftMin = InMin;
        LeftSec = InSec;
        for (QPushButton *button : cmdNum)
            button->setEnabled(true);
        timeTic->setTag(QString());
    }
    ShowTime(0);
}

void frmMain::timeTic_Timer()
{
    LeftSec = static_cast<qint16>(LeftSec - 1);
    if (LeftSec < 0) {
        LeftSec = 59;
        LeftMin = static_cast<qint16>(LeftMin - 1);
    }
    ShowTime(1);
    if (LeftSec != 0 || LeftMin != 0)
        return;

    // The ticks stop before the message: one handled while it is open would count below 00:00.
    timeTic->setEnabled(false);
    // The settings are read now, so a change made during the run applies to its alarm.
    if (modPomvale::SoundIsOn())
        platform::soundPlayer().play(modPomvale::SoundPath);
    platform::messageBox().show(this, QStringLiteral("アラームが鳴りましたよ。"),
                                QStringLiteral("アラームのお知らせ"));
    if (modPomvale::SoundIsOn())
        platform::soundPlayer().stop();
    cmdReset_Click();
    cmdReset->setEnabled(true);
}

void frmMain::mnOption_Click()
{
    // Nothing of an opening outlives it but what OK stored, so each opening has a window of its own.
    frmOption options(this);
    options.showModal(); // the countdown goes on meanwhile: the timer ticks in the modal loop
}
