// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/application.h"

#include "app/version.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

namespace app {

namespace {

void nameApplication()
{
    QApplication::setApplicationName(QStringLiteral("Pomvale"));
    QApplication::setApplicationVersion(QStringLiteral(POMVALE_VERSION_TEXT));
}

void describeCommandLine(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral("A countdown timer with an alarm."));
    parser.addHelpOption();
    parser.addVersionOption();
}

} // namespace

void answerHelpOrVersion(int argc, char **argv)
{
    if (argc < 2)
        return; // the usual start pays for no second application object
    // A core application is enough to answer, and needs no display. Qt's own options (-platform,
    // -style...) are not known here; they are left for the real application object to take.
    const QCoreApplication core(argc, argv);
    nameApplication();
    QCommandLineParser parser;
    describeCommandLine(parser);
    if (!parser.parse(QCoreApplication::arguments()))
        return;
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
}

void setupApplication(QApplication &application)
{
    // The menu bar's one entry is a command, not a dropdown. A desktop's global menu bar shows
    // dropdowns only: the entry would vanish there, and the window would lose its menu row.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
    nameApplication();
    QGuiApplication::setDesktopFileName(QStringLiteral(POMVALE_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/app/pomvale.png")));
    platform::useJapaneseUserInterface(application);
}

void refuseUnknownOptions(const QApplication &application)
{
    // Qt has taken its own options out of the arguments by now: anything else left is unknown.
    QCommandLineParser parser;
    describeCommandLine(parser);
    parser.process(application);
}

} // namespace app
