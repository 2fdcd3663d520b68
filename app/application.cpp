// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "app/version.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QIcon>

namespace app {

void setupApplication(QApplication &application)
{
    // The menu bar's one entry is a command, not a dropdown. A desktop's global menu bar shows
    // dropdowns only: the entry would vanish there, and the window would lose its menu row.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    QApplication::setApplicationName(QStringLiteral("Pomvale"));
    QApplication::setApplicationVersion(QStringLiteral(POMVALE_VERSION_TEXT));
    QGuiApplication::setDesktopFileName(QStringLiteral(POMVALE_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/pomvale.png")));
    platform::useJapaneseUserInterface(application);
}

} // namespace app
