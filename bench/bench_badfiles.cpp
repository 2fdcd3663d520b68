// SPDX-License-Identifier: GPL-3.0-or-later
// Times what a user waits for when the settings file or the alarm's WAV is unusually large:
// opening the options window with a long Path value (1 and 10 MB), and decoding the alarm's
// sound ahead of playing it, for a 1 GB WAV (a sparse file) and a 3 s one. Prints medians:
//   QT_QPA_PLATFORM=offscreen pomvale-bench-badfiles
#include "app/application.h"
#include "bench/median.h"
#include "options/frmoption.h"
#include "platform/sound/chime.h"
#include "platform/sound/wavstream.h"
#include "settings/modpomvale.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

namespace {

// A 16-bit stereo 44.1 kHz WAV header whose data chunk holds dataBytes.
QByteArray wavHeader(quint32 dataBytes)
{
    QByteArray header(44, '\0');
    char *h = header.data();
    std::memcpy(h, "RIFF", 4);
    qToLittleEndian<quint32>(36 + dataBytes, h + 4);
    std::memcpy(h + 8, "WAVEfmt ", 8);
    qToLittleEndian<quint32>(16, h + 16);
    qToLittleEndian<quint16>(1, h + 20);
    qToLittleEndian<quint16>(2, h + 22);
    qToLittleEndian<quint32>(44100, h + 24);
    qToLittleEndian<quint32>(44100 * 4, h + 28);
    qToLittleEndian<quint16>(4, h + 32);
    qToLittleEndian<quint16>(16, h + 34);
    std::memcpy(h + 36, "data", 4);
    qToLittleEndian<quint32>(dataBytes, h + 40);
    return header;
}

void putWav(const QString &path, quint32 dataBytes, bool sparse)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    file.write(wavHeader(dataBytes));
    if (sparse) {
        file.resize(44 + qint64(dataBytes));
        return;
    }
    QByteArray data(dataBytes, '\0');
    for (quint32 i = 0; i < dataBytes; ++i)
        data[i] = char((i * 7) & 0x7F);
    file.write(data);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    app::setupApplication(application);
    QTemporaryDir dir;
    modPomvale::setExecutableFolderOverride(QFile::encodeName(dir.path()).toStdString());
    const QString ini = dir.filePath(QStringLiteral("Pomvale.ini"));

    for (const int megabytes : {1, 10}) {
        QFile file(ini);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        file.write("[Option]\r\nEnable=1\r\nPath=/home/user/" + QByteArray(megabytes << 20, 'a')
                   + ".wav\r\n");
        file.close();
        modPomvale::LoadOption();
        QWidget owner;
        const double ms = 1e-6 * medianNanoseconds(5, [&] {
                              frmOption window(&owner);
                              // The first pass of the window's own loop comes once it is shown; paint it,
                              // then close.
                              QTimer::singleShot(0, &window, [] {
                                  if (QWidget *modal = QApplication::activeModalWidget()) {
                                      modal->repaint();
                                      modal->close();
                                  }
                              });
                              window.showModal();
                          });
        std::printf("options window, %2d MB Path value: open and paint, median %9.1f ms (5 runs)\n",
                    megabytes, ms);
    }

    const QString huge = dir.filePath(QStringLiteral("huge.wav"));
    const QString normal = dir.filePath(QStringLiteral("normal.wav"));
    putWav(huge, 1024u * 1024u * 1024u - 44u, true);
    putWav(normal, 3 * 44100 * 4, false);
    const platform::PcmSound chime = platform::loadChime();
    for (const auto &[name, path] : {std::pair {"1 GB sparse", huge}, std::pair {"3 s", normal}}) {
        const QString &wav = path; // clang 14 cannot capture a structured binding
        const double ms = 1e-6 * medianNanoseconds(9, [&wav, &chime] { platform::soundOrChime(wav, chime); });
        std::printf("alarm sound, %-11s WAV: opened, first block decoded, median %8.2f ms (9 runs)\n", name,
                    ms);
    }
    return 0;
}
