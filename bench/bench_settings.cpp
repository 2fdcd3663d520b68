// SPDX-License-Identifier: GPL-3.0-or-later
// Times the settings file: LoadOption and SaveOption on a typical file, and the read of one key
// at the end of 1, 5 and 10 MB files. Prints medians.
#include "bench/median.h"
#include "platform/paths.h"
#include "settings/modini.h"
#include "settings/modpomvale.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void put(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    platform::setApplicationDirOverride(dir.path());
    const QString ini = dir.filePath(QStringLiteral("Pomvale.ini"));

    put(ini, u"[Option]\r\nEnable=1\r\nPath=/home/ユーザー/音楽/目覚まし.wav\r\n"_qs.toUtf8());
    const double load = 1e-3 * medianNanoseconds(2001, [] { modPomvale::LoadOption(); });
    std::printf("LoadOption, typical file:  median %8.1f us (2001 runs)\n", load);
    // Each save stores a path other than the one in the file, so that every run writes.
    int saves = 0;
    const double save = 1e-3 * medianNanoseconds(101, [&saves] {
                            modPomvale::SoundPath
                                = QStringLiteral("/home/user/sounds/alarm%1.wav").arg(++saves % 2);
                            modPomvale::SaveOption();
                        });
    std::printf(
        "SaveOption, typical file:  median %8.1f us (101 runs; two crash-safe writes, each with fsync)\n",
        save);

    const QByteArray line("key=a line of filler that makes the file large\r\n");
    for (const int megabytes : {1, 5, 10}) {
        QByteArray bytes("[Filler]\r\n");
        while (bytes.size() < megabytes * 1024 * 1024)
            bytes += line;
        bytes += "[Option]\r\nEnable=1\r\n";
        put(ini, bytes);
        QString value;
        const double read
            = 1e-3 * medianNanoseconds(21, [&] {
                  modINI::ReadIni(ini, QStringLiteral("Option"), QStringLiteral("Enable"), value);
              });
        std::printf("ReadIni, key at the end of %2d MB: median %8.1f us (21 runs), %6.1f us per MB\n",
                    megabytes, read, read / megabytes);
    }
    return 0;
}
