// SPDX-License-Identifier: GPL-3.0-or-later
// Times the settings file: LoadOption and SaveOption on a typical file, then on a 60 MB file with
// [Option] at its end, the save split into its write and its sync. Prints medians.
#include "bench/median.h"
#include "settings/modpomvale.h"
#include "settings/posix/posixseam.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

void put(const QString &path, const std::string &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        qFatal("cannot write %s", qPrintable(path));
}

// Each save stores a path other than the one in the file, so that every run writes.
void saveAnotherPath(int &saves)
{
    modPomvale::SoundPath
        = u"/home/user/sounds/alarm" + std::u16string(1, char16_t(u'0' + ++saves % 2)) + u".wav";
    if (modPomvale::SaveOption() != settings::SaveOutcome::Saved)
        qFatal("the save failed");
}

} // namespace

int main()
{
    QTemporaryDir dir;
    modPomvale::setExecutableFolderOverride(QFile::encodeName(dir.path()).toStdString());
    const QString ini = dir.filePath(QStringLiteral("Pomvale.ini"));

    put(ini, u"[Option]\r\nEnable=1\r\nPath=/home/ユーザー/音楽/目覚まし.wav\r\n"_qs.toStdString());
    const double load = 1e-3 * medianNanoseconds(2001, [] { modPomvale::LoadOption(); });
    std::printf("LoadOption, typical file:  median %9.1f us (2001 runs)\n", load);
    int saves = 0;
    const double save = 1e-3 * medianNanoseconds(101, [&saves] { saveAnotherPath(saves); });
    std::printf("SaveOption, typical file:  median %9.1f us (101 runs; one crash-safe replace with fsync)\n",
                save);

    std::string big("[Filler]\r\n");
    const std::string line("key=a line of filler that makes the file large\r\n");
    big.reserve(60 * 1024 * 1024 + 64);
    while (big.size() < 60u * 1024 * 1024)
        big += line;
    big += "[Option]\r\nEnable=1\r\nPath=/home/user/sounds/alarm0.wav\r\n";
    put(ini, big);
    const double bigLoad = 1e-6 * medianNanoseconds(11, [] { modPomvale::LoadOption(); });
    std::printf("LoadOption, 60 MB file, [Option] at its end: median %7.1f ms (11 runs)\n", bigLoad);
    const double bigSave = 1e-6 * medianNanoseconds(11, [&saves] { saveAnotherPath(saves); });
    std::printf("SaveOption, 60 MB file, a changed value:    median %7.1f ms (11 runs)\n", bigSave);

    // The save's two costs apart: the same bytes written to a new file in that folder, then synced.
    std::vector<double> writes, syncs;
    const QByteArray scratch = QFile::encodeName(dir.filePath(QStringLiteral("scratch")));
    for (int run = 0; run < 11; ++run) {
        const int fd = ::open(scratch.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        QElapsedTimer timer;
        timer.start();
        for (std::size_t done = 0; done < big.size();) {
            const ssize_t n = ::write(fd, big.data() + done, big.size() - done);
            if (n <= 0)
                qFatal("cannot write the scratch file");
            done += std::size_t(n);
        }
        writes.push_back(1e-6 * double(timer.nsecsElapsed()));
        timer.restart();
        ::fsync(fd);
        syncs.push_back(1e-6 * double(timer.nsecsElapsed()));
        ::close(fd);
        ::unlink(scratch.constData());
    }
    std::printf("  of which: write median %7.1f ms, fsync median %7.1f ms (11 runs)\n", median(writes),
                median(syncs));
    return 0;
}
