#pragma once

#include "platform/filedialog.h"
#include "platform/messagebox.h"
#include "platform/services.h"
#include "platform/soundplayer.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

// Recording stand-ins for the platform's modal and audible services.
// Each installs itself for its lifetime and puts the real service back when destroyed.

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

    QList<QWidget *> owners;
    QStringList texts;
    QStringList titles;
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
