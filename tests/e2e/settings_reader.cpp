// SPDX-License-Identifier: GPL-3.0-or-later
// Prints what the Linux program reads from the Pomvale.ini beside this executable, as UTF-8:
//   Enable=<value>
//   Path=<value>
// for the comparison with the Windows program's reading (tests/e2e/wine_same_reading.sh).
#include "settings/modpomvale.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    const QCoreApplication app(argc, argv);
    modPomvale::LoadOption();
    const QByteArray text
        = "Enable=" + modPomvale::SoundEnable.toUtf8() + "\nPath=" + modPomvale::SoundPath.toUtf8() + '\n';
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    return 0;
}
