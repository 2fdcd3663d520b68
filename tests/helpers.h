// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/elapsedclock.h"
#include "platform/services.h"
#include "platform/sound/soundplayer.h"
#include "platform/widgets/filedialog.h"
#include "platform/widgets/messagebox.h"
#include "platform/widgets/timercontrol.h"
#include "platform/widgets/whenmodal.h"
#include "timer/frmmain.h"

#include <QApplication>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

// What the test suites share: recording stand-ins for the platform's modal and audible services,
// a way to act on a real modal window (whenModal, in its own header for the screenshot tool, which
// does not link the test library), the main window as a fixture, files put on disk and read back,
// and a program run as a user who may not write a folder.

// The countdown's clock, moved only by the test; installs itself for its lifetime.
class FakeClock final : public ElapsedClock
{
public:
    FakeClock() { platform::setElapsedClock(this); }
    ~FakeClock() override { platform::setElapsedClock(nullptr); }
    Q_DISABLE_COPY_MOVE(FakeClock)

    std::int64_t milliseconds() const override { return now; }

    std::int64_t now = 0;
};

// The main window, shown and active, read and driven as the user does. A suite derives from it
// after QObject, calls showMainWindow() in init() and closeMainWindow() in cleanup().
class MainWindowFixture
{
protected:
    bool showMainWindow()
    {
        m_window = std::make_unique<frmMain>();
        m_window->show();
        return QTest::qWaitForWindowActive(m_window.get());
    }
    void closeMainWindow() { m_window.reset(); }

    QLabel *displayLabel() const { return m_window->findChild<QLabel *>(QStringLiteral("lblDisp")); }
    QString display() const { return displayLabel()->text(); }
    QPushButton *button(const QString &name) const { return m_window->findChild<QPushButton *>(name); }
    void click(const QString &name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    // Types digits on the keyboard into whichever control has the focus.
    static void type(const QString &digits)
    {
        for (const QChar digit : digits)
            QTest::keyClick(QApplication::focusWidget(), digit.toLatin1());
    }
    platform::TimerControl *timer() const
    {
        return m_window->findChild<platform::TimerControl *>(QStringLiteral("timeTic"));
    }
    // What a second of the running timer does, without waiting for it.
    void tick(int count = 1)
    {
        for (int i = 0; i < count; ++i) {
            m_clock.now += 1000;
            emit timer()->Timer();
        }
    }

    FakeClock m_clock;
    std::unique_ptr<frmMain> m_window;
};

// Writes bytes to path, replacing what was there; false when the file cannot be written.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Runs a program to its end, with extra environment entries ("NAME=value", replacing the runner's
// own), and returns its exit status, or -1 when it crashed; output, when given, receives what it
// printed. With a readOnlyFolder the program may not write in that folder: a superuser may write
// anywhere, so as root the program runs as "nobody" in a folder that only root may write. What
// nobody runs, the program and a library it preloads, is copied first to where nobody can reach it,
// since the build tree may lie in root's own home folder.
inline int runProgram(QString program, const QStringList &arguments, const QString &readOnlyFolder = {},
                      const QStringList &environment = {}, QByteArray *output = nullptr)
{
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const QString &entry : environment)
        variables.insert(entry.section(QLatin1Char('='), 0, 0), entry.section(QLatin1Char('='), 1));

    QProcess process;
    const QByteArray folder = QFile::encodeName(readOnlyFolder);
    QTemporaryDir reachable(QDir::tempPath() + QStringLiteral("/pomvale-run-XXXXXX"));
    const auto reachableCopy = [&reachable](const QString &path) {
        QString copy = reachable.filePath(QFileInfo(path).fileName());
        QFile::copy(path, copy);
        return copy;
    };
    if (!readOnlyFolder.isEmpty()) {
        if (::geteuid() == 0) {
            ::chmod(QFile::encodeName(reachable.path()).constData(), 0755);
            program = reachableCopy(program);
            if (variables.contains(QStringLiteral("LD_PRELOAD")))
                variables.insert(QStringLiteral("LD_PRELOAD"),
                                 reachableCopy(variables.value(QStringLiteral("LD_PRELOAD"))));
            ::chmod(folder.constData(), 0755);
            process.setChildProcessModifier([] {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                    ::_exit(3);
            });
        } else {
            ::chmod(folder.constData(), 0555);
        }
    }
    process.setProcessEnvironment(variables);
    process.start(program, arguments);
    process.waitForFinished();
    if (!readOnlyFolder.isEmpty())
        ::chmod(folder.constData(), 0700);
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Recording stand-ins. Each installs itself for its lifetime and puts the real service back when
// destroyed.

class FakeMessageBox final : public platform::MessageBox
{
public:
    FakeMessageBox() { platform::setMessageBox(this); }
    ~FakeMessageBox() override { platform::setMessageBox(nullptr); }
    Q_DISABLE_COPY_MOVE(FakeMessageBox)

    void show(QWidget *owner, const QString &text, const QString &title) override
    {
        owners << owner;
        texts << text;
        titles << title;
        if (whileOpen)
            whileOpen();
    }
    void warn(QWidget *owner, const QString &text, const QString &title) override
    {
        warnings << text;
        show(owner, text, title);
    }

    QList<QWidget *> owners;
    QStringList texts;
    QStringList titles;
    QStringList warnings; // the texts of the boxes shown with the warning icon
    std::function<void()> whileOpen; // runs as if the user acted while the box is open
};

class FakeSoundPlayer final : public platform::SoundPlayer
{
public:
    FakeSoundPlayer() { platform::setSoundPlayer(this); }
    ~FakeSoundPlayer() override { platform::setSoundPlayer(nullptr); }
    Q_DISABLE_COPY_MOVE(FakeSoundPlayer)

    void play(const QString &name) override { calls << QStringLiteral("play:") + name; }
    void stop() override { calls << QStringLiteral("stop"); }

    QStringList calls; // "play:<name>" and "stop", in order
};

class FakeFileDialog final : public platform::FileDialog
{
public:
    FakeFileDialog() { platform::setFileDialog(this); }
    ~FakeFileDialog() override { platform::setFileDialog(nullptr); }
    Q_DISABLE_COPY_MOVE(FakeFileDialog)

    QString showOpen(QWidget *, const QString &filter) override
    {
        filters << filter;
        return answer;
    }

    QString answer; // what the user picks; empty means cancelled
    QStringList filters;
};
