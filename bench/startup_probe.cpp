// Starts either the timer's main window or a bare Qt window of the same size, waits for its
// first paint, and prints the CLOCK_MONOTONIC time of that moment in nanoseconds.
//   pomvale-startup-probe pomvale|bare
// bench/startup.py runs it and takes the time from the process start.
#include "app/application.h"
#include "platform/fontwarmup.h"
#include "platform/runtime.h"
#include "timer/frmmain.h"

#include <QApplication>
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
    std::unique_ptr<platform::FontWarmUp> fonts;
    if (argc > 1 && QLatin1String(argv[1]) == QLatin1String("pomvale")) { // as main() does
        platform::prepareRuntime();
        fonts = std::make_unique<platform::FontWarmUp>();
    }
    QApplication application(argc, argv);
    const bool bare = argc > 1 && QLatin1String(argv[1]) == QLatin1String("bare");

    std::unique_ptr<QWidget> window;
    if (bare) {
        window = std::make_unique<QWidget>();
        window->setFixedSize(132, 248 + 19); // the main window's client area and menu bar
    } else {
        app::setupApplication(application);
        fonts->wait();
        window = std::make_unique<frmMain>();
    }
    new FirstPaintProbe(window.get());
    window->show();
    return QApplication::exec();
}
