// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/runtime.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstdio>
#include <cstring>
#include <sys/stat.h>

// Xlib last: its macros (Bool, None, Status) would clash with Qt's names.
#include <X11/Xlib.h>

namespace platform {

namespace {

void loadJapaneseTranslations(QApplication &app)
{
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto *translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                         QStringLiteral("_"), directory))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

void mapJapaneseFaces()
{
    // Fontconfig does not alias the Windows gothic face to IPAGothic, whose metrics match it;
    // without the mapping the digits would fall back to a Latin sans face. The others are the
    // Japanese gothic faces Debian offers instead of it, in case IPAGothic is not installed.
    const QStringList gothic {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                              QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic"),
                              QStringLiteral("TakaoGothic")};
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), gothic);
    QFont::insertSubstitutions(QStringLiteral("MS Gothic"), gothic);
}

void hintWithTheFontsOwnInstructions()
{
    // Windows draws these faces by their own TrueType instructions. FreeType's auto-hinter, which
    // Qt otherwise asks for, also renders dozens of reference glyphs of each Japanese face to learn
    // its shapes: at every start that cost 2 ms and 1.6 MiB of the font file read into memory.
    QFont font = QApplication::font();
    font.setHintingPreference(QFont::PreferFullHinting);
    QApplication::setFont(font);
}

QByteArray platformNamed(int argc, char **argv)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return argv[i + 1];
    return qgetenv("QT_QPA_PLATFORM");
}

bool waylandReachable()
{
    QByteArray socket = qgetenv("WAYLAND_DISPLAY");
    if (socket.isEmpty())
        socket = "wayland-0";
    if (!socket.startsWith('/')) {
        const QByteArray runtimeDir = qgetenv("XDG_RUNTIME_DIR");
        if (runtimeDir.isEmpty())
            return false;
        socket = runtimeDir + '/' + socket;
    }
    struct stat status = {};
    return ::stat(socket.constData(), &status) == 0 && S_ISSOCK(status.st_mode);
}

bool x11Reachable()
{
    // A connection of our own, closed at once: Xlib's failure is a null return, Qt's an abort.
    Display *display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    XCloseDisplay(display);
    return true;
}

} // namespace

bool displayReachable(int argc, char **argv)
{
    const QByteArray named = platformNamed(argc, argv);
    if (named.isEmpty())
        return waylandReachable() || x11Reachable();
    // A list ("wayland;xcb") is tried in order; options follow a colon ("xcb:...").
    for (const QByteArray &entry : named.split(';')) {
        const QByteArray name = entry.split(':').constFirst().trimmed();
        if (name.startsWith("wayland")) {
            if (waylandReachable())
                return true;
        } else if (name == "xcb") {
            if (x11Reachable())
                return true;
        } else {
            return true;
        }
    }
    return false;
}

void reportNoDisplay()
{
    // The locale's language, as the C library picks it for messages.
    QByteArray language;
    for (const char *variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        language = qgetenv(variable);
        if (!language.isEmpty())
            break;
    }
    const char *message = language.startsWith("ja")
        ? "Pomvale: 画面に接続できません。デスクトップのセッションの中で起動してください。\n"
        : "Pomvale: no display can be reached (neither X11 nor Wayland); start it in a desktop session.\n";
    std::fputs(message, stderr);
}

void setQtEnvironment()
{
    // The window repaints one small label a second. Through X shared memory each repaint makes the
    // server send a completion event, which wakes two threads; a plain transfer of so few pixels
    // costs nothing more and lets the program sleep between ticks. An explicit choice still wins.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
}

void useJapaneseUserInterface(QApplication &app)
{
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    loadJapaneseTranslations(app);
    mapJapaneseFaces();
    hintWithTheFontsOwnInstructions();
}

} // namespace platform
