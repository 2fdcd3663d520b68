// SPDX-License-Identifier: GPL-3.0-or-later
// The sound settings and the file beside the executable that keeps them, through modPomvale,
// modINI and modPath as the rest of the program uses them.
#include "helpers.h"
#include "platform/paths.h"
#include "settings/modini.h"
#include "settings/modpath.h"
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

    void firstStartCreatesNoFile();
    void folderNamedLikeTheFileIsNoFile();
    void loadOption_data();
    void loadOption();
    void mainWindowLoadsTheSettingsFirst();
    void saveCreatesTheFileAndLoadReadsIt();
    void failedSaveIsReported();
    void systemInstallKeepsAPerUserCopy();

    void readIniEdgeCases();
    void writeIniEdgeCases();
    void combinePath_data();
    void combinePath();
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
    platform::setApplicationDirOverride(m_dir->path());
    modPomvale::IniPath.clear();
    modPomvale::SoundEnable.clear();
    modPomvale::SoundPath.clear();
}

void tst_modPomvale::cleanup()
{
    platform::setApplicationDirOverride({});
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void tst_modPomvale::put(const QByteArray &bytes)
{
    QVERIFY(writeFile(iniFile(), bytes));
}

void tst_modPomvale::firstStartCreatesNoFile()
{
    modPomvale::LoadOption();
    QCOMPARE(modPomvale::SoundEnable, "0");
    QCOMPARE(modPomvale::SoundPath, "");
    QCOMPARE(modPomvale::IniPath, "");
    QVERIFY(QDir(m_dir->path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void tst_modPomvale::folderNamedLikeTheFileIsNoFile()
{
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Pomvale.ini")));
    modPomvale::SoundEnable = "1";
    modPomvale::LoadOption();
    QCOMPARE(modPomvale::SoundEnable, "0");
    QCOMPARE(modPomvale::IniPath, "");
}

void tst_modPomvale::loadOption_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("enable");
    QTest::addColumn<QString>("path");

    QTest::newRow("both keys") << QByteArray("[Option]\r\nEnable=1\r\nPath=/home/a/alarm.wav\r\n") << "1"
                               << "/home/a/alarm.wav";
    QTest::newRow("only the path") << QByteArray("[Option]\nPath=/a.wav\n") << "0"
                                   << "/a.wav";
    QTest::newRow("empty enable") << QByteArray("[Option]\nEnable=\nPath=/a.wav\n") << "0"
                                  << "/a.wav";
    QTest::newRow("hand-edited enable kept as text") << QByteArray("[Option]\nEnable=2\n") << "2"
                                                     << "";
    QTest::newRow("no section") << QByteArray("[Other]\nEnable=1\nPath=/a.wav\n") << "0"
                                << "";
    QTest::newRow("empty file") << QByteArray() << "0"
                                << "";
    QTest::newRow("Japanese path")
        << u"[Option]\nEnable=1\nPath=/home/ユーザー/音楽/目覚まし.wav\n"_qs.toUtf8() << "1"
        << u"/home/ユーザー/音楽/目覚まし.wav"_qs;
    const QString longPath = u"/音楽"_qs.repeated(600) + u"/a.wav"_qs; // 3,600 bytes: read whole
    QTest::newRow("long path") << (u"[Option]\nPath="_qs + longPath + u"\n"_qs).toUtf8() << "0" << longPath;
}

void tst_modPomvale::loadOption()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, enable);
    QFETCH(QString, path);

    put(file);
    modPomvale::SoundEnable = "stale";
    modPomvale::SoundPath = "stale";
    modPomvale::LoadOption();
    QCOMPARE(modPomvale::SoundEnable, enable);
    QCOMPARE(modPomvale::SoundPath, path);
    QCOMPARE(modPomvale::IniPath, iniFile());
    QCOMPARE(contents(), file);
}

void tst_modPomvale::mainWindowLoadsTheSettingsFirst()
{
    put("[Option]\nEnable=1\nPath=/a.wav\n");
    const frmMain window;
    QCOMPARE(modPomvale::SoundEnable, "1");
    QCOMPARE(modPomvale::SoundPath, "/a.wav");
}

void tst_modPomvale::saveCreatesTheFileAndLoadReadsIt()
{
    modPomvale::SoundEnable = "1";
    modPomvale::SoundPath = u"/home/ユーザー/音楽/a.wav"_qs;
    QVERIFY(modPomvale::SaveOption());
    QCOMPARE(modPomvale::IniPath, iniFile());
    QCOMPARE(contents(), u"[Option]\r\nEnable=1\r\nPath=/home/ユーザー/音楽/a.wav\r\n"_qs.toUtf8());

    // With the sound off the path is still written.
    modPomvale::SoundEnable = "0";
    modPomvale::SoundPath = "/b.wav";
    QVERIFY(modPomvale::SaveOption());
    QCOMPARE(contents(), QByteArray("[Option]\r\nEnable=0\r\nPath=/b.wav\r\n"));

    modPomvale::SoundEnable.clear();
    modPomvale::SoundPath.clear();
    modPomvale::LoadOption();
    QCOMPARE(modPomvale::SoundEnable, "0");
    QCOMPARE(modPomvale::SoundPath, "/b.wav");

    // An empty path is written as an empty value and reads back as "".
    modPomvale::SoundPath.clear();
    QVERIFY(modPomvale::SaveOption());
    modPomvale::SoundPath = "stale";
    modPomvale::LoadOption();
    QCOMPARE(modPomvale::SoundPath, "");
}

void tst_modPomvale::failedSaveIsReported()
{
    // A value the file cannot hold fails its own key only: the path is written all the same.
    modPomvale::SoundEnable = "1\n[Other]";
    modPomvale::SoundPath = "/a.wav";
    QVERIFY(!modPomvale::SaveOption());
    QCOMPARE(contents(), QByteArray("[Option]\r\nPath=/a.wav\r\n"));
    QVERIFY(QFile::remove(iniFile()));

    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("Pomvale.ini")));
    modPomvale::SoundEnable = "1";
    modPomvale::SoundPath = "/a.wav";
    QVERIFY(!modPomvale::SaveOption());
    QCOMPARE(modPomvale::SoundEnable, "1"); // still in effect in memory
    QCOMPARE(modPomvale::SoundPath, "/a.wav");

    platform::setApplicationDirOverride(m_dir->filePath(QStringLiteral("no such folder")));
    QVERIFY(!modPomvale::SaveOption());
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
    platform::setApplicationDirOverride(QStringLiteral("/usr/bin"));

    modPomvale::LoadOption();
    QCOMPARE(modPomvale::IniPath, defaults);
    QCOMPARE(modPomvale::SoundPath, "/usr/share/site.wav");

    // The first OK starts the user's copy from the defaults byte for byte; nothing under /usr.
    modPomvale::SoundEnable = "1";
    QVERIFY(modPomvale::SaveOption());
    QCOMPARE(modPomvale::IniPath, copy);
    QVERIFY(!QFile::exists(besideProgram));
    QCOMPARE(readFile(copy), QByteArray("; site\r\n[Option]\r\nEnable=1\r\nPath=/usr/share/site.wav\r\n"));
    QCOMPARE(readFile(defaults), siteDefaults);

    // From then on the copy is read, not the defaults.
    QVERIFY(writeFile(defaults, "[Option]\nEnable=0\n"));
    modPomvale::LoadOption();
    QCOMPARE(modPomvale::IniPath, copy);
    QCOMPARE(modPomvale::SoundEnable, "1");
}

void tst_modPomvale::readIniEdgeCases()
{
    put("[Option]\nEnable=1\nEmpty=\n");
    QString value = "unchanged";
    QVERIFY(!modINI::ReadIni("", "Option", "Enable", value));
    QVERIFY(!modINI::ReadIni(iniFile(), "", "Enable", value));
    QVERIFY(!modINI::ReadIni(iniFile(), "Option", "", value));
    QVERIFY(!modINI::ReadIni(m_dir->filePath("missing.ini"), "Option", "Enable", value));
    QVERIFY(!modINI::ReadIni(iniFile(), "Option", "Empty", value));
    QVERIFY(!modINI::ReadIni(iniFile(), "Option", "Missing", value));
    QCOMPARE(value, "unchanged");
    QVERIFY(!QFile::exists(m_dir->filePath("missing.ini")));

    QVERIFY(modINI::ReadIni(iniFile(), "Option", "Enable", value));
    QCOMPARE(value, "1");
}

void tst_modPomvale::writeIniEdgeCases()
{
    QVERIFY(!modINI::WriteIni(iniFile(), "", "Enable", "1"));
    QVERIFY(!modINI::WriteIni(iniFile(), "Option", "", "1"));
    QVERIFY(!QFile::exists(iniFile()));

    QVERIFY(modINI::WriteIni(iniFile(), "Option", "Enable", ""));
    QCOMPARE(contents(), QByteArray("[Option]\r\nEnable=\r\n"));
    QString value = "unchanged";
    QVERIFY(!modINI::ReadIni(iniFile(), "Option", "Enable", value));
    QCOMPARE(value, "unchanged");

    QVERIFY(!modINI::WriteIni(iniFile(), "Option", "Path", "two\nlines")); // would break the file
    QCOMPARE(contents(), QByteArray("[Option]\r\nEnable=\r\n"));
}

void tst_modPomvale::combinePath_data()
{
    QTest::addColumn<QString>("dir");
    QTest::addColumn<QString>("joined");
    QTest::newRow("folder") << "/opt/Pomvale"
                            << "/opt/Pomvale/Pomvale.ini";
    QTest::newRow("folder ending in a separator") << "/opt/Pomvale/"
                                                  << "/opt/Pomvale/Pomvale.ini";
    QTest::newRow("root") << "/"
                          << "/Pomvale.ini";
    QTest::newRow("no folder") << ""
                               << "Pomvale.ini";
}

void tst_modPomvale::combinePath()
{
    QFETCH(QString, dir);
    QFETCH(QString, joined);
    QCOMPARE(modPath::CombinePath(dir, "Pomvale.ini"), joined);
}

void tst_modPomvale::errorsPutTheCursorBack()
{
    put("[Option]\nEnable=1\n");
    QString value;

    // A plain miss is no error: the cursor stays.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QVERIFY(!modINI::ReadIni(iniFile(), "Option", "Missing", value));
    QVERIFY(QGuiApplication::overrideCursor());

    // A file too large to be settings cannot be read.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QFile f(iniFile());
    QVERIFY(f.resize(200 * 1024 * 1024));
    QVERIFY(!modINI::ReadIni(iniFile(), "Option", "Enable", value));
    QVERIFY(!QGuiApplication::overrideCursor());

    // A name that cannot be looked up, such as a loop of links, is an error and no missing file.
    QVERIFY(QFile::link(m_dir->filePath("loop.ini"), m_dir->filePath("loop.ini")));
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QVERIFY(!modINI::ReadIni(m_dir->filePath("loop.ini"), "Option", "Enable", value));
    QVERIFY(!QGuiApplication::overrideCursor());

    // Neither can a file be written where a folder stands in its way.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QVERIFY(!modINI::WriteIni(m_dir->filePath("Pomvale.ini/x.ini"), "Option", "Enable", "1"));
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(tst_modPomvale)
#include "tst_modpomvale.moc"
