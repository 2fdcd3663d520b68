// SPDX-License-Identifier: GPL-3.0-or-later
// The settings library on Linux's seam: files on disk, bad input, how a save replaces the file, and
// the executable's folder.
#include "helpers.h"
#include "settings/modpomvale.h"
#include "settings/posix/posixseam.h"
#include "settings/profilefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// What a read or a save came to, as the tests compare it.
enum class ProfileStatus {
    Ok,
    Missing,
    Failed,
    NotRepresentable,
};

struct ProfileRead
{
    ProfileStatus status = ProfileStatus::Missing;
    QString value;
};

settings::Path pathOf(const QString &file)
{
    return settings::Path(QFile::encodeName(file).toStdString());
}

ProfileRead readKey(const QString &file, QStringView section, QStringView key)
{
    const std::u16string s = section.toString().toStdU16String(), k = key.toString().toStdU16String();
    const settings::ProfileRead read = settings::readProfile(settings::platformSeam(), pathOf(file), s, {k});
    if (read.status == settings::ReadStatus::Failed)
        return {ProfileStatus::Failed, {}};
    if (!read.values[0])
        return {ProfileStatus::Missing, {}};
    return {ProfileStatus::Ok, QString::fromStdU16String(*read.values[0])};
}

ProfileStatus writeKey(const QString &file, QStringView section, QStringView key, QStringView value)
{
    const std::u16string s = section.toString().toStdU16String(), k = key.toString().toStdU16String(),
                         v = value.toString().toStdU16String();
    switch (settings::saveProfile(settings::platformSeam(), pathOf(file), s, {{k, v}})) {
    case settings::SaveOutcome::Saved:
        return ProfileStatus::Ok;
    case settings::SaveOutcome::NotInFileEncoding:
        return ProfileStatus::NotRepresentable;
    case settings::SaveOutcome::Failed:
        break;
    }
    return ProfileStatus::Failed;
}

mode_t modeOf(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

ino_t inodeOf(const QString &path)
{
    struct stat status = {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

} // namespace

class tst_PosixSeam : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void newFileIsUtf8WithoutMark();

    void badInputReadsWithoutHarm_data();
    void badInputReadsWithoutHarm();
    void fiftyMegabyteFile();
    void oversizedFileRefused();
    void folderInsteadOfFile();
    void hostileFiles_data();
    void hostileFiles();
    void killedSaveLeftoversCleared();

    void permissionBitsKept();
    void symbolicLinkFollowed();
    void readOnlyFolder();
    void perUserCopyInReadOnlyFolder();
    void executableFolderSurvivesAnUpgrade_data();
    void executableFolderSurvivesAnUpgrade();

private:
    QString file(const QString &name = u"Pomvale.ini"_qs) const { return m_dir->filePath(name); }
    void put(const QByteArray &bytes, const QString &name = u"Pomvale.ini"_qs);
    QByteArray contents(const QString &name = u"Pomvale.ini"_qs) const { return readFile(file(name)); }
    int runWriterInReadOnlyFolder(const QStringList &arguments, const QString &configHome = u"/proc/none"_qs,
                                  QByteArray *output = nullptr);
    QString writerConfigHome();

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_PosixSeam::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_PosixSeam::put(const QByteArray &bytes, const QString &name)
{
    QVERIFY(writeFile(file(name), bytes));
}

void tst_PosixSeam::newFileIsUtf8WithoutMark()
{
    QCOMPARE(writeKey(file(), u"Option", u"Path", u"/音楽/a.wav"), ProfileStatus::Ok);
    QCOMPARE(contents(), u"[Option]\r\nPath=/音楽/a.wav\r\n"_qs.toUtf8());
}

void tst_PosixSeam::badInputReadsWithoutHarm_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("enable"); // what Enable reads as; "<none>" for missing

    QByteArray garbage(64 * 1024, Qt::Uninitialized);
    QRandomGenerator random(42);
    random.fillRange(reinterpret_cast<quint32 *>(garbage.data()), garbage.size() / 4);
    QTest::newRow("binary garbage") << garbage << "<none>";
    QTest::newRow("binary garbage, then the section") << garbage + "\n[Option]\nEnable=1\n"
                                                      << "1";
    QTest::newRow("NUL in a value cuts it") << QByteArray("[Option]\nEnable=1\0rest\n", 22) << "1";
    QTest::newRow("NUL in a name") << QByteArray("[Opt\0ion]\nEnable=1\n", 19) << "<none>";
    const QByteArray longJapanese = u"/音楽"_qs.repeated(120'000).toUtf8(); // about 1 MB
    QTest::newRow("1 MB line") << QByteArray(1 << 20, 'x') << "<none>";
    QTest::newRow("1 MB value, then a key") << "[Option]\nPath=" + longJapanese + "\nEnable=1\n"
                                            << "1";
}

void tst_PosixSeam::badInputReadsWithoutHarm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, enable);

    put(bytes);
    const auto read = readKey(file(), u"Option", u"Enable");
    QCOMPARE(read.status == ProfileStatus::Ok ? read.value : u"<none>"_qs, enable);

    // Every such file takes a new value and gives it back, leaving what was there before it.
    QCOMPARE(writeKey(file(), u"Option", u"Path", u"/a.wav"), ProfileStatus::Ok);
    QCOMPARE(readKey(file(), u"Option", u"Path").value, u"/a.wav"_qs);
    QCOMPARE(contents().left(bytes.indexOf("Path=") >= 0 ? bytes.indexOf("Path=") : 0),
             bytes.left(bytes.indexOf("Path=") >= 0 ? bytes.indexOf("Path=") : 0));
}

void tst_PosixSeam::fiftyMegabyteFile()
{
    QByteArray bytes("[Big]\n");
    const QByteArray line("key=a value that fills the file to fifty megabytes\n");
    bytes.reserve(50 * 1024 * 1024 + 64);
    while (bytes.size() < 50 * 1024 * 1024)
        bytes += line;
    bytes += "[Option]\nEnable=1\n";
    put(bytes);

    QCOMPARE(readKey(file(), u"Option", u"Enable").value, u"1"_qs);
    QCOMPARE(writeKey(file(), u"Option", u"Path", u"/a.wav"), ProfileStatus::Ok);
    QCOMPARE(QFileInfo(file()).size(), bytes.size() + qsizetype(sizeof("Path=/a.wav\n") - 1));
    QCOMPARE(readKey(file(), u"Option", u"Path").value, u"/a.wav"_qs);
}

void tst_PosixSeam::oversizedFileRefused()
{
    put("[Option]\nEnable=1\n");
    QFile f(file());
    QVERIFY(f.resize(qint64(settings::maxProfileSize) + 1)); // sparse: costs no disk
    QCOMPARE(readKey(file(), u"Option", u"Enable").status, ProfileStatus::Failed);
    QCOMPARE(writeKey(file(), u"Option", u"Enable", u"0"), ProfileStatus::Failed);
    QCOMPARE(QFileInfo(file()).size(), qint64(settings::maxProfileSize) + 1);
}

void tst_PosixSeam::folderInsteadOfFile()
{
    QVERIFY(QDir(m_dir->path()).mkdir(u"Pomvale.ini"_qs));
    QCOMPARE(readKey(file(), u"Option", u"Enable").status, ProfileStatus::Failed);
    QCOMPARE(writeKey(file(), u"Option", u"Enable", u"1"), ProfileStatus::Failed);
    QVERIFY(QFileInfo(file()).isDir());
}

// Files a user or another program may leave where the settings go. Each save must come back at
// once, and leave the file as it was unless the value really changes.
void tst_PosixSeam::hostileFiles_data()
{
    QTest::addColumn<QString>("kind"); // how the file is made: "bytes", "fifo", "link", "read-only"
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("path"); // the Path value to save
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("after"); // the file's bytes after the save

    const auto failed = int(ProfileStatus::Failed);
    const auto ok = int(ProfileStatus::Ok);
    // open() of a FIFO waits for a writer: the save hung for good.
    QTest::newRow("FIFO") << "fifo" << QByteArray() << "/a.wav" << failed << QByteArray();
    // A device has size 0 and no end: the save read gigabytes.
    QTest::newRow("link to /dev/zero")
        << "link" << QByteArray("/dev/zero") << "/a.wav" << failed << QByteArray();
    const QByteArray mine("[Option]\nPath=/old.wav\n");
    QTest::newRow("read-only file") << "read-only" << mine << "/a.wav" << failed << mine;

    // Unedited values come back byte for byte: a stray byte after the mark, and a NUL.
    const QByteArray stray("\xEF\xBB\xBF[Option]\r\nPath=/a\xFF.wav\r\n");
    QTest::newRow("invalid byte after a UTF-8 mark") << "bytes" << stray << u"/a\uFFFD.wav"_qs << ok << stray;
    const QByteArray nul("[Option]\nPath=/a.wav\0tail\n", 25);
    QTest::newRow("NUL in the value") << "bytes" << nul << "/a.wav" << ok << nul;
}

void tst_PosixSeam::hostileFiles()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, before);
    QFETCH(QString, path);
    QFETCH(int, status);
    QFETCH(QByteArray, after);

    const QByteArray name = QFile::encodeName(file());
    if (kind == u"fifo")
        QVERIFY(::mkfifo(name.constData(), 0600) == 0);
    else if (kind == u"link")
        QVERIFY(QFile::link(QString::fromLatin1(before), file()));
    else
        put(before);
    if (kind == u"read-only")
        QVERIFY(::chmod(name.constData(), 0444) == 0);

    QCOMPARE(int(writeKey(file(), u"Option", u"Path", path)), status);
    if (kind == u"bytes" || kind == u"read-only")
        QCOMPARE(contents(), after);
    if (status == int(ProfileStatus::Ok))
        QCOMPARE(readKey(file(), u"Option", u"Path").value, path);
}

// A save killed between making its temporary file and renaming it leaves the file behind; a later
// save clears it, but not the one a save still writing holds.
void tst_PosixSeam::killedSaveLeftoversCleared()
{
    put("[Option]\nEnable=0\n");
    put("half", u".Pomvale.ini.a1B2c3"_qs);
    put("new", u".Pomvale.ini.d4E5f6"_qs);
    put("other", u".Other.ini.g7H8i9"_qs);
    const QByteArray stale = QFile::encodeName(file(u".Pomvale.ini.a1B2c3"_qs));
    const struct timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    QVERIFY(::utimensat(AT_FDCWD, stale.constData(), hourAgo, 0) == 0);

    QCOMPARE(writeKey(file(), u"Option", u"Enable", u"1"), ProfileStatus::Ok);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             QStringList({u".Other.ini.g7H8i9"_qs, u".Pomvale.ini.d4E5f6"_qs, u"Pomvale.ini"_qs}));
}

void tst_PosixSeam::permissionBitsKept()
{
    const mode_t oldMask = ::umask(022);
    QCOMPARE(writeKey(file(u"new.ini"_qs), u"Option", u"Enable", u"1"), ProfileStatus::Ok);
    QCOMPARE(modeOf(file(u"new.ini"_qs)), mode_t(0644));
    ::umask(oldMask);

    put("[Option]\nEnable=0\n");
    QVERIFY(::chmod(QFile::encodeName(file()).constData(), 0640) == 0);
    QCOMPARE(writeKey(file(), u"Option", u"Enable", u"1"), ProfileStatus::Ok);
    QCOMPARE(modeOf(file()), mode_t(0640));
    QCOMPARE(contents(), QByteArray("[Option]\nEnable=1\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary left
}

void tst_PosixSeam::symbolicLinkFollowed()
{
    QVERIFY(QDir(m_dir->path()).mkdir(u"real"_qs));
    put("[Option]\nEnable=0\n", u"real/settings.ini"_qs);
    QVERIFY(QFile::link(u"real/settings.ini"_qs, file()));

    QCOMPARE(writeKey(file(), u"Option", u"Enable", u"1"), ProfileStatus::Ok);
    QVERIFY(QFileInfo(file()).isSymLink());
    QCOMPARE(contents(u"real/settings.ini"_qs), QByteArray("[Option]\nEnable=1\n"));

    // A link to a file that is not there yet: the file is made where the link points.
    QVERIFY(QFile::link(u"real/later.ini"_qs, file(u"dangling.ini"_qs)));
    QCOMPARE(writeKey(file(u"dangling.ini"_qs), u"Option", u"Enable", u"1"), ProfileStatus::Ok);
    QVERIFY(QFileInfo(file(u"dangling.ini"_qs)).isSymLink());
    QCOMPARE(contents(u"real/later.ini"_qs), QByteArray("[Option]\r\nEnable=1\r\n"));
}

// Runs the writer process with the temporary folder read-only to it, and configHome as its
// XDG_CONFIG_HOME (by default one where nothing can be made).
int tst_PosixSeam::runWriterInReadOnlyFolder(const QStringList &arguments, const QString &configHome,
                                             QByteArray *output)
{
    return runProgram(QStringLiteral(PROFILEWRITER), arguments, m_dir->path(),
                      {u"XDG_CONFIG_HOME="_qs + configHome}, output);
}

// A configuration folder that the writer's user owns.
QString tst_PosixSeam::writerConfigHome()
{
    QString home = file(u"home"_qs);
    if (!QDir().mkpath(home))
        return {};
    if (::geteuid() == 0 && ::chown(QFile::encodeName(home).constData(), 65534, 65534) != 0)
        return {};
    return home;
}

void tst_PosixSeam::readOnlyFolder()
{
    // No file, and no per-user copy can be made either: the save says so, naming the copy.
    QByteArray output;
    QCOMPARE(runWriterInReadOnlyFolder({u"save"_qs, m_dir->path(), u"1"_qs, u"/a.wav"_qs}, u"/proc/none"_qs,
                                       &output),
             1);
    QVERIFY(!QFile::exists(file()));
    QVERIFY2(output.startsWith("/proc/none/pomvale/Pomvale.ini\n"), output.constData());

    // A file that may be written is written in place.
    put("; mine\n[Option]\nEnable=0\n");
    QVERIFY(::chmod(QFile::encodeName(file()).constData(), 0666) == 0);
    const ino_t inode = inodeOf(file());
    QCOMPARE(runWriterInReadOnlyFolder({u"save"_qs, m_dir->path(), u"1"_qs, u"/a.wav"_qs}), 0);
    QCOMPARE(contents(), QByteArray("; mine\n[Option]\nEnable=1\nPath=/a.wav\n"));
    QCOMPARE(inodeOf(file()), inode);

    // A file that may not be written stays as it is.
    QVERIFY(::chmod(QFile::encodeName(file()).constData(), 0644) == 0);
    if (::geteuid() != 0)
        QVERIFY(::chmod(QFile::encodeName(file()).constData(), 0444) == 0);
    QCOMPARE(runWriterInReadOnlyFolder({u"once"_qs, file(), u"Option"_qs, u"Enable"_qs, u"0"_qs}), 1);
    QCOMPARE(contents(), QByteArray("; mine\n[Option]\nEnable=1\nPath=/a.wav\n"));
    // Storing what it already holds needs no write, so that succeeds.
    QCOMPARE(runWriterInReadOnlyFolder({u"once"_qs, file(), u"Option"_qs, u"Enable"_qs, u"1"_qs}), 0);
    QCOMPARE(contents(), QByteArray("; mine\n[Option]\nEnable=1\nPath=/a.wav\n"));
}

void tst_PosixSeam::perUserCopyInReadOnlyFolder()
{
    // The administrator's defaults beside the executable, as a system-wide install has them.
    const QByteArray defaults("; site defaults\r\n[Option]\r\nEnable=0\r\nPath=/usr/share/site.wav\r\n");
    put(defaults);
    // Not the user's to write, as an administrator's file is: run by its owner (a package build
    // as an ordinary user) a writable file would be written in place.
    QVERIFY(::chmod(QFile::encodeName(file()).constData(), 0444) == 0);
    const QString home = writerConfigHome();
    QVERIFY(!home.isEmpty());
    const QString copy = home + u"/pomvale/Pomvale.ini"_qs;
    QByteArray output;

    // Before any OK the defaults are read where they are.
    QCOMPARE(runWriterInReadOnlyFolder({u"load"_qs, m_dir->path()}, home, &output), 0);
    QCOMPARE(output, (file() + u"\n0\n/usr/share/site.wav\n"_qs).toUtf8());

    // The first OK makes the user's copy from them: comment and CRLF kept, only the key changed.
    QCOMPARE(runWriterInReadOnlyFolder({u"save"_qs, m_dir->path(), u"1"_qs, u"/usr/share/site.wav"_qs}, home),
             0);
    QCOMPARE(contents(), defaults);
    QCOMPARE(readFile(copy),
             QByteArray("; site defaults\r\n[Option]\r\nEnable=1\r\nPath=/usr/share/site.wav\r\n"));

    // The next start reads the copy, and the next OK writes it again.
    QCOMPARE(runWriterInReadOnlyFolder({u"load"_qs, m_dir->path()}, home, &output), 0);
    QCOMPARE(output, (copy + u"\n1\n/usr/share/site.wav\n"_qs).toUtf8());
    QCOMPARE(runWriterInReadOnlyFolder({u"save"_qs, m_dir->path(), u"1"_qs, u"/b.wav"_qs}, home), 0);
    QCOMPARE(readFile(copy), QByteArray("; site defaults\r\n[Option]\r\nEnable=1\r\nPath=/b.wav\r\n"));
    QCOMPARE(contents(), defaults);
}

void tst_PosixSeam::executableFolderSurvivesAnUpgrade_data()
{
    QTest::addColumn<QByteArray>("folder");
    QTest::newRow("plain folder") << QByteArray("bin");
    // Legal on Linux, common on old disks and archives; no text decoding may touch it.
    QTest::newRow("folder name that is not UTF-8") << QByteArray("bin-\xff\xfe-\x83\x5c");
}

// The executable is replaced while the program runs, as an upgrade or a rebuild does: the save still
// goes beside it, to the folder as its bytes spell it.
void tst_PosixSeam::executableFolderSurvivesAnUpgrade()
{
    QFETCH(QByteArray, folder);
    const std::string dir = QFile::encodeName(m_dir->path()).toStdString() + '/' + folder.toStdString();
    QVERIFY(std::filesystem::create_directory(dir));
    const std::string program = dir + "/profilewriter";
    std::filesystem::copy_file(PROFILEWRITER, program);
    const std::string command = "XDG_CONFIG_HOME=/proc/none '" + program + "' upgraded-save 1 /a.wav";
    FILE *pipe = ::popen(command.c_str(), "r");
    QVERIFY(pipe);
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    QCOMPARE(::pclose(pipe), 0);
    QCOMPARE(QByteArray::fromStdString(output), QByteArray::fromStdString(dir + "/Pomvale.ini\n1\n/a.wav\n"));
    std::ifstream written(dir + "/Pomvale.ini", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(written)), std::istreambuf_iterator<char>());
    QCOMPARE(bytes, std::string("[Option]\r\nEnable=1\r\nPath=/a.wav\r\n"));
}

QTEST_GUILESS_MAIN(tst_PosixSeam)
#include "tst_posixseam.moc"
