// SPDX-License-Identifier: GPL-3.0-or-later
#include "timer/frmmain.h"

#include "options/frmoption.h"
#include "platform/services.h"
#include "platform/sound/soundplayer.h"
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
    m_countdown.Form_Load();

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
        connect(button, &QPushButton::clicked, this, [this, index] { m_countdown.cmdNum_Click(index); });
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
    connect(cmdReset, &QPushButton::clicked, this, [this] { m_countdown.cmdReset_Click(); });
    connect(cmdStart, &QPushButton::clicked, this, [this] { m_countdown.cmdStart_Click(); });

    timeTic = new platform::TimerControl(this);
    timeTic->setObjectName(QStringLiteral("timeTic"));
    timeTic->setInterval(1000);
    timeTic->setEnabled(false);
    connect(timeTic, &platform::TimerControl::Timer, this, [this] { m_countdown.timeTic_Timer(); });

    cmdNum.at(1)->setFocus(); // the first control in tab order that can take the focus
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    // The buttons leave typed characters to their window, so a digit reaches here whichever of them
    // has the focus. Ctrl and Alt combinations are commands, not typed characters.
    const QString text = event->text();
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) && text.size() == 1)
        m_countdown.Form_KeyPress(text.at(0).unicode());
    QMainWindow::keyPressEvent(event);
}

// ---- What the countdown asks of its window ----

void frmMain::loadOption()
{
    modPomvale::LoadOption();
}

void frmMain::setDisplayText(const std::u16string &text)
{
    const QString shown = QString::fromStdU16String(text);
    lblDisp->setText(shown);
    // Screen readers hear the time as the label's name, and each change of it as it happens.
    lblDisp->setAccessibleName(shown);
}

void frmMain::setDigitsEnabled(bool enabled)
{
    for (QPushButton *button : cmdNum)
        button->setEnabled(enabled);
}

void frmMain::setResetEnabled(bool enabled)
{
    cmdReset->setEnabled(enabled);
}

bool frmMain::timerEnabled() const
{
    return timeTic->isEnabled();
}

void frmMain::setTimerEnabled(bool enabled)
{
    timeTic->setEnabled(enabled);
}

void frmMain::showAlarm(const std::u16string &text, const std::u16string &title)
{
    platform::messageBox().show(this, QString::fromStdU16String(text), QString::fromStdU16String(title));
}

void frmMain::playSound(const std::u16string &path)
{
    platform::soundPlayer().play(QString::fromStdU16String(path));
}

void frmMain::stopSound()
{
    platform::soundPlayer().stop();
}

std::u16string frmMain::soundEnable() const
{
    return modPomvale::SoundEnable.toStdU16String();
}

std::u16string frmMain::soundPath() const
{
    return modPomvale::SoundPath.toStdU16String();
}

void frmMain::mnOption_Click()
{
    // Nothing of an opening outlives it but what OK stored, so each opening has a window of its own.
    frmOption options(this);
    options.showModal(); // the countdown goes on meanwhile: the timer ticks in the modal loop
}
