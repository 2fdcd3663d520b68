// SPDX-License-Identifier: GPL-3.0-or-later
#include "timer/frmmain.h"

#include "core/mainwindowdesign.h"
#include "options/frmoption.h"
#include "platform/services.h"
#include "platform/widgets/commandbutton.h"
#include "platform/widgets/design.h"
#include "platform/widgets/messagebox.h"
#include "platform/widgets/timercontrol.h"

#include <QAction>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

using platform::designText;
using platform::twipsRect;

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
    setWindowTitle(designText(frmMainDesign::Caption));
    // A fixed single border: title bar and close box, no minimize or maximize box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);

    mnOption = menuBar()->addAction(designText(frmMainDesign::mnOptionCaption));
    mnOption->setObjectName(QStringLiteral("mnOption"));
    connect(mnOption, &QAction::triggered, this, &frmMain::mnOption_Click);

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(platform::twips(frmMainDesign::ClientWidth),
                         platform::twips(frmMainDesign::ClientHeight));
    setCentralWidget(client);
    layout()->setSizeConstraint(QLayout::SetFixedSize); // the user cannot resize the window

    lblDisp = new QLabel(designText(frmMainDesign::lblDispCaption), client);
    lblDisp->setObjectName(QStringLiteral("lblDisp"));
    lblDisp->setGeometry(twipsRect(frmMainDesign::lblDisp));
    lblDisp->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblDisp->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    QFont displayFont(designText(frmMainDesign::DisplayFontName), frmMainDesign::DisplayFontPoints,
                      QFont::Normal);
    displayFont.setStyleHint(QFont::TypeWriter);
    lblDisp->setFont(displayFont);
    lblDisp->setAccessibleDescription(QStringLiteral("時間"));

    QWidget *previous = nullptr;
    for (const frmMainDesign::DigitButton &design : frmMainDesign::cmdNum) {
        const int index = design.index;
        auto *button = platform::makeCommandButton(
            client, QString::number(index), QStringLiteral("cmdNum%1").arg(index), twipsRect(design.rect));
        connect(button, &QPushButton::clicked, this, [this, index] { m_countdown.cmdNum_Click(index); });
        cmdNum.at(index) = button;
        if (previous)
            setTabOrder(previous, button);
        previous = button;
    }
    cmdReset = platform::makeCommandButton(client, designText(frmMainDesign::cmdResetCaption),
                                           QStringLiteral("cmdReset"), twipsRect(frmMainDesign::cmdReset));
    setTabOrder(previous, cmdReset);
    cmdStart = platform::makeCommandButton(client, designText(frmMainDesign::cmdStartCaption),
                                           QStringLiteral("cmdStart"), twipsRect(frmMainDesign::cmdStart));
    setTabOrder(cmdReset, cmdStart);
    connect(cmdReset, &QPushButton::clicked, this, [this] { m_countdown.cmdReset_Click(); });
    connect(cmdStart, &QPushButton::clicked, this, [this] { m_countdown.cmdStart_Click(); });

    timeTic = new platform::TimerControl(this);
    timeTic->setObjectName(QStringLiteral("timeTic"));
    timeTic->setInterval(frmMainDesign::TimerInterval);
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

std::int64_t frmMain::milliseconds() const
{
    // Asked anew each time, so that a test's clock replaces it in a window already made.
    return platform::elapsedClock().milliseconds();
}

void frmMain::mnOption_Click()
{
    // Nothing of an opening outlives it but what OK stored, so each opening has a window of its own.
    frmOption options(this);
    options.showModal(); // the countdown goes on meanwhile: the timer ticks in the modal loop
}
