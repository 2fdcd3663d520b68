// SPDX-License-Identifier: GPL-3.0-or-later
// Starts the timer's main window as main() does, or, built with BARE_QT_WINDOW, a bare Qt window of
// the same size in a program that links Qt alone; waits for the first paint, and prints the
// CLOCK_MONOTONIC time of that moment in nanoseconds. bench/startup.py runs both and takes the time
// from the process start.
//
// The bare window shows its first argument, if given, in one label in the default font: what a
// window pays for drawing any text at all.
#ifndef BARE_QT_WINDOW
#include "app/application.h"
#include "platform/fontwarmup.h"
#include "platform/runtime.h"
#include "timer/frmmain.h"
#endif

#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <memory>

namespace {

long long monotonicNanoseconds()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// Reports the first paint of one window, once the whole window has been painted and flushed.
class FirstPaintProbe final : public QObject
{
public:
    explicit FirstPaintProbe(QWidget *window)
        : QObject(window)
        , m_window(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_window && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            QTimer::singleShot(0, this, [] {
                std::printf("%lld\n", monotonicNanoseconds());
                QCoreApplication::quit();
            });
        }
        return false;
    }

private:
    QWidget *m_window;
    bool m_seen = false;
};

} // namespace

int main(int argc, char *argv[])
{
#ifdef BARE_QT_WINDOW
    QApplication application(argc, argv);
    auto window = std::make_unique<QWidget>();
    window->setFixedSize(132, 248 + 19); // the main window's client area and menu bar
    if (argc > 1)
        new QLabel(QString::fromUtf8(argv[1]), window.get());
#else
    platform::setQtEnvironment();
    platform::FontWarmUp fonts;
    QApplication application(argc, argv);
    app::setupApplication(application);
    fonts.wait();
    auto window = std::make_unique<frmMain>();
#endif
    new FirstPaintProbe(window.get());
    window->show();
    return QApplication::exec();
}
