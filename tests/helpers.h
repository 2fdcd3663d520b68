#pragma once

#include "platform/services.h"
#include "platform/sound/soundplayer.h"
#include "platform/widgets/filedialog.h"
#include "platform/widgets/messagebox.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>

// What the test suites share: recording stand-ins for the platform's modal and audible services,
// a way to act on a real modal window, and files put on disk and read back.

// Runs act on the next modal window of type W as soon as it is shown, then closes it if act left it
// open. The modal loop blocks the caller, so a timer polls for the window.
template<typename W> void whenModal(QObject *context, std::function<void(W *)> act)
{
    auto *poll = new QTimer(context);
    QObject::connect(poll, &QTimer::timeout, context, [poll, act = std::move(act)] {
        auto *window = qobject_cast<W *>(QApplication::activeModalWidget());
        if (!window)
            return;
        poll->deleteLater();
        poll->stop();
        act(window);
        if (window->isVisible())
            window->close();
    });
    poll->start(5);
}

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
