// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/runtime.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
    // without the mapping the digits would fall back to a Latin sans face.
    const QStringList gothic {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック"),
                              QStringLiteral("Noto Sans Mono CJK JP")};
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

} // namespace

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
