// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real main window natively on a Wayland compositor, for the end-to-end check under weston:
//   pomvale-e2e-wayland
// The main window, the options window and the alarm box must each be shown by the compositor, the
// two owned windows attached to the main window as its transient children, and the keyboard loop
// must work: digits, Start/Stop, the alarm closed with Enter. Prints each step; exit status 0 when
// all hold.
#include "app/application.h"
#include "options/frmoption.h"
#include "timer/frmmain.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace {

int failures = 0;

void check(bool ok, const char *what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    std::fflush(stdout);
    if (!ok)
        ++failures;
}

// Shown by the compositor, and attached to the main window so that it is placed over it.
void checkOwnedWindow(QWidget *window, const QWidget *owner, const char *name)
{
    const QByteArray what(name);
    check(QTest::qWaitForWindowExposed(window, 5000), QByteArray(what + " shown").constData());
    check(window->windowHandle()->transientParent() == owner->windowHandle(),
          QByteArray(what + " is a transient child of the main window").constData());
}

// Runs act on the first visible top-level widget of type W from inside the modal loop that is about
// to start; it must close the window.
template<typename W> void whenShown(QObject *context, std::function<void(W *)> act)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, act = std::move(act)] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *window = qobject_cast<W *>(widget);
            if (window && window->isVisible()) {
                poll->deleteLater();
                poll->stop();
                act(window);
                return;
            }
        }
    });
    poll->start(10);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    app::setupApplication(application);
    check(QGuiApplication::platformName() == QLatin1String("wayland"), "runs natively on Wayland");
    std::printf("the compositor gave the keyboard to %s\n",
                QGuiApplication::focusWindow() ? qPrintable(QGuiApplication::focusWindow()->title())
                                               : "no window");

    frmMain window;
    window.show();
    check(QTest::qWaitForWindowExposed(&window, 5000), "main window shown");
    const auto *display = window.findChild<QLabel *>("lblDisp");
    QWindow *keys = window.windowHandle();

    for (const Qt::Key digit : {Qt::Key_0, Qt::Key_0, Qt::Key_0, Qt::Key_1})
        QTest::keyClick(keys, digit);
    check(display->text() == QLatin1String("00:01"), "digits typed enter 00:01");

    bool optionsShown = false;
    whenShown<frmOption>(&window, [&window, &optionsShown](frmOption *options) {
        optionsShown = true;
        checkOwnedWindow(options, &window, "options window");
        QTest::mouseClick(options->findChild<QPushButton *>("CancelButton"), Qt::LeftButton);
    });
    // A click: the menu's Alt+O needs an active window, and the headless compositor has no keyboard
    // to give one the focus.
    auto *menuBar = window.findChild<QMenuBar *>();
    QTest::mouseClick(menuBar, Qt::LeftButton, {},
                      menuBar->actionGeometry(menuBar->actions().value(0)).center());
    check(optionsShown && !QApplication::activeModalWidget(),
          "the menu entry opened the options window, Cancel closed it");

    // Start/Stop is the last control in tab order, one Shift+Tab back from the first digit.
    window.findChild<QPushButton *>("cmdNum1")->setFocus();
    QTest::keyClick(keys, Qt::Key_Backtab, Qt::ShiftModifier);
    check(window.focusWidget() == window.findChild<QPushButton *>("cmdStart"),
          "Shift+Tab reaches Start/Stop");

    bool alarmed = false;
    whenShown<QMessageBox>(&window, [&](QMessageBox *box) {
        alarmed = true;
        check(display->text() == QLatin1String("00:00"), "the alarm comes at 00:00");
        checkOwnedWindow(box, &window, "alarm box");
        QTest::keyClick(box->windowHandle(), Qt::Key_Return);
        check(!box->isVisible(), "Enter closes the alarm box");
        if (box->isVisible())
            box->close();
    });
    QTest::keyClick(keys, Qt::Key_Space); // starts the countdown
    check(QTest::qWaitFor([&alarmed] { return alarmed; }, 5000), "the alarm box came up"); // one real second
    check(display->text() == QLatin1String("00:01"), "after the alarm the time last started is back");
    return failures == 0 ? 0 : 1;
}
