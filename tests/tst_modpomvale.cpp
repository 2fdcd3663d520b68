// SPDX-License-Identifier: GPL-3.0-or-later
// The sound settings and the file beside the executable that keeps them, through modPomvale,
// modINI and modPath as the rest of the program uses them.
#include "helpers.h"
#include "platform/programsoundsettings.h"
#include "settings/modini.h"
#include "settings/modpomvale.h"
#include "timer/frmmain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_modPomvale : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void folderNamedLikeTheFileIsNoFile();
    void mainWindowLoadsTheSettingsFirst();
    void saveCreatesTheFileAndLoadReadsIt();
    void failedSaveIsReported();
    void systemInstallKeepsAPerUserCopy();

    void errorsPutTheCursorBack();

private:
    QString iniFile() const { return m_dir->filePath(QStringLiteral("Pomvale.ini")); }
    void put(const QByteArray &bytes);
    QByteArray contents() const { return readFile(iniFile()); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_modPomvale::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    modPomvale::setExecutableFolderOverride(QFile::encodeName(m_dir->path()).toStdString());
    programSoundSettings(); // puts the program's error handler in place
    modPomvale::IniPath.clear();
    modPomvale::SoundEnable.clear();
    modPomvale::SoundPath.clear();
}

void tst_modPomvale::cleanup()
{
    modPomvale::setExecutableFolderOverride(settings::Path());
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void tst_modPomvale::put(const QByteArray &bytes)
{
    QVERIFY(writeFile(iniFile(), bytes));
}

void tst_modPomvale::folderNamedLikeTheFileIsNoFile()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Pomvale.ini")));
    modPomvale::SoundEnable = QString("1").toStdU16String();
    modPomvale::LoadOption();
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), "0");
    QCOMPARE(QString::fromStdString(modPomvale::IniPath.native()), "");
}

void tst_modPomvale::mainWindowLoadsTheSettingsFirst()
{
    put("[Option]\nEnable=1\nPath=/a.wav\n");
    const frmMain window;
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), "1");
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), "/a.wav");
}

void tst_modPomvale::saveCreatesTheFileAndLoadReadsIt()
{
    modPomvale::SoundEnable = QString("1").toStdU16String();
    modPomvale::SoundPath = QString(u"/home/ユーザー/音楽/a.wav"_qs).toStdU16String();
    QCOMPARE(modPomvale::SaveOption(), settings::SaveOutcome::Saved);
    QCOMPARE(QString::fromStdString(modPomvale::IniPath.native()), iniFile());
    QCOMPARE(contents(), u"[Option]\r\nEnable=1\r\nPath=/home/ユーザー/音楽/a.wav\r\n"_qs.toUtf8());

    // With the sound off the path is still written.
    modPomvale::SoundEnable = QString("0").toStdU16String();
    modPomvale::SoundPath = QString("/b.wav").toStdU16String();
    QCOMPARE(modPomvale::SaveOption(), settings::SaveOutcome::Saved);
    QCOMPARE(contents(), QByteArray("[Option]\r\nEnable=0\r\nPath=/b.wav\r\n"));

    modPomvale::SoundEnable.clear();
    modPomvale::SoundPath.clear();
    modPomvale::LoadOption();
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), "0");
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), "/b.wav");

    // An empty path is written as an empty value and reads back as "".
    modPomvale::SoundPath.clear();
    QCOMPARE(modPomvale::SaveOption(), settings::SaveOutcome::Saved);
    modPomvale::SoundPath = QString("stale").toStdU16String();
    modPomvale::LoadOption();
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), "");
}

void tst_modPomvale::failedSaveIsReported()
{
    // A value the file cannot hold fails the whole save: neither key is written.
    modPomvale::SoundEnable = QString("1\n[Other]").toStdU16String();
    modPomvale::SoundPath = QString("/a.wav").toStdU16String();
    QVERIFY(modPomvale::SaveOption() != settings::SaveOutcome::Saved);
    QVERIFY(!QFile::exists(iniFile()));

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Pomvale.ini")));
    modPomvale::SoundEnable = QString("1").toStdU16String();
    modPomvale::SoundPath = QString("/a.wav").toStdU16String();
    QVERIFY(modPomvale::SaveOption() != settings::SaveOutcome::Saved);
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), "1"); // still in effect in memory
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), "/a.wav");

    modPomvale::setExecutableFolderOverride(
        QFile::encodeName(m_dir->filePath(QStringLiteral("no such folder"))).toStdString());
    QVERIFY(modPomvale::SaveOption() != settings::SaveOutcome::Saved);
}

void tst_modPomvale::systemInstallKeepsAPerUserCopy()
{
    // The packaged program: beside it is /usr/bin, which even root must not write; the
    // administrator's defaults are in the first absolute folder of XDG_CONFIG_DIRS.
    const QString besideProgram = QStringLiteral("/usr/bin/Pomvale.ini");
    if (QFile::exists(besideProgram))
        QSKIP("this machine has a /usr/bin/Pomvale.ini");
    const QByteArray oldHome = qgetenv("XDG_CONFIG_HOME");
    const QByteArray oldDirs = qgetenv("XDG_CONFIG_DIRS");
    const auto restore = qScopeGuard([&] {
        qputenv("XDG_CONFIG_HOME", oldHome);
        qputenv("XDG_CONFIG_DIRS", oldDirs);
        QFile::remove(besideProgram); // only there when the program wrote it
    });
    const QString defaults = m_dir->filePath(QStringLiteral("xdg/pomvale/Pomvale.ini"));
    const QString copy = m_dir->filePath(QStringLiteral("home/pomvale/Pomvale.ini"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->filePath(QStringLiteral("home"))));
    qputenv("XDG_CONFIG_DIRS",
            "relative:" + QFile::encodeName(m_dir->filePath(QStringLiteral("xdg"))) + ":/etc/xdg");
    QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("xdg/pomvale"))));
    const QByteArray siteDefaults("; site\r\n[Option]\r\nEnable=0\r\nPath=/usr/share/site.wav\r\n");
    QVERIFY(writeFile(defaults, siteDefaults));
    modPomvale::setExecutableFolderOverride(QFile::encodeName(QStringLiteral("/usr/bin")).toStdString());

    modPomvale::LoadOption();
    QCOMPARE(QString::fromStdString(modPomvale::IniPath.native()), defaults);
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundPath), "/usr/share/site.wav");

    // The first OK starts the user's copy from the defaults byte for byte; nothing under /usr.
    modPomvale::SoundEnable = QString("1").toStdU16String();
    QCOMPARE(modPomvale::SaveOption(), settings::SaveOutcome::Saved);
    QCOMPARE(QString::fromStdString(modPomvale::IniPath.native()), copy);
    QVERIFY(!QFile::exists(besideProgram));
    QCOMPARE(readFile(copy), QByteArray("; site\r\n[Option]\r\nEnable=1\r\nPath=/usr/share/site.wav\r\n"));
    QCOMPARE(readFile(defaults), siteDefaults);

    // From then on the copy is read, not the defaults.
    QVERIFY(writeFile(defaults, "[Option]\nEnable=0\n"));
    modPomvale::LoadOption();
    QCOMPARE(QString::fromStdString(modPomvale::IniPath.native()), copy);
    QCOMPARE(QString::fromStdU16String(modPomvale::SoundEnable), "1");
}

void tst_modPomvale::errorsPutTheCursorBack()
{
    put("[Option]\nEnable=1\n");
    std::u16string value;
    const auto path
        = [](const QString &name) { return settings::Path(QFile::encodeName(name).toStdString()); };

    // A plain miss is no error: the cursor stays.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QVERIFY(!modINI::ReadIni(path(iniFile()), u"Option", u"Missing", value));
    QVERIFY(QGuiApplication::overrideCursor());

    // A file too large to be settings cannot be read.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QFile f(iniFile());
    QVERIFY(f.resize(200 * 1024 * 1024));
    QVERIFY(!modINI::ReadIni(path(iniFile()), u"Option", u"Enable", value));
    QVERIFY(!QGuiApplication::overrideCursor());

    // A name that cannot be looked up, such as a loop of links, is an error and no missing file.
    QVERIFY(QFile::link(m_dir->filePath("loop.ini"), m_dir->filePath("loop.ini")));
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QVERIFY(!modINI::ReadIni(path(m_dir->filePath("loop.ini")), u"Option", u"Enable", value));
    QVERIFY(!QGuiApplication::overrideCursor());

    // Neither can a file be written where a folder stands in its way.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QVERIFY(!modINI::WriteIni(path(m_dir->filePath("Pomvale.ini/x.ini")), u"Option", u"Enable", u"1"));
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(tst_modPomvale)
#include "tst_modpomvale.moc"
