// SPDX-License-Identifier: GPL-3.0-or-later
// Profile files on disk: their encodings, bad input, and how a write replaces the file.
#include "helpers.h"
#include "platform/profile/profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using platform::ProfileStatus;

namespace {

// "; 設定", then section Option with Enable=1 and Path=C:\音楽\ソース.wav, in CP932. The second
// bytes of ソ and ー are "\" and "[".
const QByteArray cp932File(
    "; \x90\xdd\x92\xe8\r\n[Option]\r\nEnable=1\r\nPath=C:\\\x89\xb9\x8ay\\\x83\\\x81[\x83X.wav\r\n");
const QString cp932Path = u"C:\\音楽\\ソース.wav"_qs;

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

class tst_ProfileFile : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void cp932FileReadAndWritten();
    void cp932FileBecomesUtf8ForCharactersItLacks_data();
    void cp932FileBecomesUtf8ForCharactersItLacks();
    void bytesNeitherUtf8NorCp932();
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

private:
    QString file(const QString &name = u"Pomvale.ini"_qs) const { return m_dir->filePath(name); }
    void put(const QByteArray &bytes, const QString &name = u"Pomvale.ini"_qs);
    QByteArray contents(const QString &name = u"Pomvale.ini"_qs) const { return readFile(file(name)); }
    int runWriterInReadOnlyFolder(const QStringList &arguments, const QString &configHome = u"/proc/none"_qs,
                                  QByteArray *output = nullptr);
    QString writerConfigHome();

    std::unique_ptr<QTemporaryDir> m_dir;
};

void tst_ProfileFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void tst_ProfileFile::put(const QByteArray &bytes, const QString &name)
{
    QVERIFY(writeFile(file(name), bytes));
}

void tst_ProfileFile::cp932FileReadAndWritten()
{
    put(cp932File);
    const auto read = platform::readProfileString(file(), u"Option", u"Path");
    QCOMPARE(read.status, ProfileStatus::Ok);
    QCOMPARE(read.value, cp932Path);

    // 表 also ends in the byte of "\"; the file stays CP932, every other byte as it was.
    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Path", u"D:\\表示\\音.wav"),
             ProfileStatus::Ok);
    QByteArray expected = cp932File;
    expected.replace("C:\\\x89\xb9\x8ay\\\x83\\\x81[\x83X.wav", "D:\\\x95\\\x8e\xa6\\\x89\xb9.wav");
    QCOMPARE(contents(), expected);
    QCOMPARE(platform::readProfileString(file(), u"Option", u"Path").value, u"D:\\表示\\音.wav"_qs);
}

void tst_ProfileFile::cp932FileBecomesUtf8ForCharactersItLacks_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("emoji") << u"🎵.wav"_qs;
    // CP932 would store the yen sign as the byte of "\", which reads back as a backslash.
    QTest::newRow("yen sign") << u"¥100.wav"_qs;
}

void tst_ProfileFile::cp932FileBecomesUtf8ForCharactersItLacks()
{
    QFETCH(QString, value);
    put(cp932File);
    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Path", value), ProfileStatus::Ok);
    const QString expected = u"; 設定\r\n[Option]\r\nEnable=1\r\nPath="_qs + value + u"\r\n"_qs;
    QCOMPARE(contents(), expected.toUtf8());
    QCOMPARE(platform::readProfileString(file(), u"Option", u"Path").value, value);
}

void tst_ProfileFile::bytesNeitherUtf8NorCp932()
{
    const QByteArray before("; \xFF\xFE\x80\r\n[Option]\r\nEnable=1\r\n");
    put(before);
    QCOMPARE(platform::readProfileString(file(), u"Option", u"Enable").value, u"1"_qs);

    // ASCII fits; the bytes that mean nothing stay.
    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Path", u"/a.wav"), ProfileStatus::Ok);
    QCOMPARE(contents(), before + "Path=/a.wav\r\n");

    // Converting the file to UTF-8 would lose those bytes, so this write is refused.
    const QByteArray written = contents();
    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Path", u"🎵"), ProfileStatus::NotRepresentable);
    QCOMPARE(contents(), written);
}

void tst_ProfileFile::newFileIsUtf8WithoutMark()
{
    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Path", u"/音楽/a.wav"), ProfileStatus::Ok);
    QCOMPARE(contents(), u"[Option]\r\nPath=/音楽/a.wav\r\n"_qs.toUtf8());
}

void tst_ProfileFile::badInputReadsWithoutHarm_data()
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

void tst_ProfileFile::badInputReadsWithoutHarm()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, enable);

    put(bytes);
    const auto read = platform::readProfileString(file(), u"Option", u"Enable");
    QCOMPARE(read.status == ProfileStatus::Ok ? read.value : u"<none>"_qs, enable);

    // Every such file takes a new value and gives it back, leaving what was there before it.
    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Path", u"/a.wav"), ProfileStatus::Ok);
    QCOMPARE(platform::readProfileString(file(), u"Option", u"Path").value, u"/a.wav"_qs);
    QCOMPARE(contents().left(bytes.indexOf("Path=") >= 0 ? bytes.indexOf("Path=") : 0),
             bytes.left(bytes.indexOf("Path=") >= 0 ? bytes.indexOf("Path=") : 0));
}

void tst_ProfileFile::fiftyMegabyteFile()
{
    QByteArray bytes("[Big]\n");
    const QByteArray line("key=a value that fills the file to fifty megabytes\n");
    bytes.reserve(50 * 1024 * 1024 + 64);
    while (bytes.size() < 50 * 1024 * 1024)
        bytes += line;
    bytes += "[Option]\nEnable=1\n";
    put(bytes);

    QCOMPARE(platform::readProfileString(file(), u"Option", u"Enable").value, u"1"_qs);
    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Path", u"/a.wav"), ProfileStatus::Ok);
    QCOMPARE(QFileInfo(file()).size(), bytes.size() + qsizetype(sizeof("Path=/a.wav\n") - 1));
    QCOMPARE(platform::readProfileString(file(), u"Option", u"Path").value, u"/a.wav"_qs);
}

void tst_ProfileFile::oversizedFileRefused()
{
    put("[Option]\nEnable=1\n");
    QFile f(file());
    QVERIFY(f.resize(platform::maxProfileSize + 1)); // sparse: costs no disk
    QCOMPARE(platform::readProfileString(file(), u"Option", u"Enable").status, ProfileStatus::Failed);
    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Enable", u"0"), ProfileStatus::Failed);
    QCOMPARE(QFileInfo(file()).size(), platform::maxProfileSize + 1);
}

void tst_ProfileFile::folderInsteadOfFile()
{
    QVERIFY(QDir(m_dir->path()).mkdir(u"Pomvale.ini"_qs));
    QCOMPARE(platform::readProfileString(file(), u"Option", u"Enable").status, ProfileStatus::Failed);
    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Enable", u"1"), ProfileStatus::Failed);
    QVERIFY(QFileInfo(file()).isDir());
}

namespace {

QByteArray utf16(const QString &text, bool little)
{
    QByteArray bytes;
    const QString marked = QChar(0xFEFF) + text;
    for (const QChar c : marked) {
        const char high = char(c.unicode() >> 8), low = char(c.unicode() & 0xFF);
        bytes.append(little ? low : high).append(little ? high : low);
    }
    return bytes;
}

} // namespace

// Files a user or another program may leave where the settings go. Each save must come back at
// once, and leave the file as it was unless the value really changes.
void tst_ProfileFile::hostileFiles_data()
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

    for (const bool little : {true, false}) {
        const QString text = u"; 設定\r\n[Option]\r\nPath=/音楽/a.wav\r\n"_qs;
        QTest::newRow(little ? "UTF-16 LE" : "UTF-16 BE")
            << "bytes" << utf16(text, little) << u"/音楽/b.wav"_qs << ok
            << utf16(u"; 設定\r\n[Option]\r\nPath=/音楽/b.wav\r\n"_qs, little);
        // A cut-off file: its odd last byte was lost on saving when the writer dropped it.
        QTest::newRow(little ? "UTF-16 LE of odd length" : "UTF-16 BE of odd length")
            << "bytes" << utf16(text, little) + '\x0A' << u"/b.wav"_qs << ok
            << utf16(u"; 設定\r\n[Option]\r\nPath=/b.wav\r\n"_qs, little) + '\x0A';
    }

    // UTF-8 Japanese in the value, one CP932 byte in a comment: the file reads as CP932, in which
    // the emoji has no form, and converting it would lose the comment's byte.
    const QByteArray mixed = "; \x82\xa0\n[Option]\nPath=" + u"/目覚まし/a.wav"_qs.toUtf8() + "\n";
    QTest::newRow("mixed encodings") << "bytes" << mixed << u"/🎵.wav"_qs
                                     << int(ProfileStatus::NotRepresentable) << mixed;
}

void tst_ProfileFile::hostileFiles()
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

    QCOMPARE(int(platform::writeProfileString(file(), u"Option", u"Path", path)), status);
    if (kind == u"bytes" || kind == u"read-only")
        QCOMPARE(contents(), after);
    if (status == int(ProfileStatus::Ok))
        QCOMPARE(platform::readProfileString(file(), u"Option", u"Path").value, path);
}

// A save killed between making its temporary file and renaming it leaves the file behind; a later
// save clears it, but not the one a save still writing holds.
void tst_ProfileFile::killedSaveLeftoversCleared()
{
    put("[Option]\nEnable=0\n");
    put("half", u".Pomvale.ini.a1B2c3"_qs);
    put("new", u".Pomvale.ini.d4E5f6"_qs);
    put("other", u".Other.ini.g7H8i9"_qs);
    const QByteArray stale = QFile::encodeName(file(u".Pomvale.ini.a1B2c3"_qs));
    const struct timespec hourAgo[2] = {{::time(nullptr) - 3600, 0}, {::time(nullptr) - 3600, 0}};
    QVERIFY(::utimensat(AT_FDCWD, stale.constData(), hourAgo, 0) == 0);

    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Enable", u"1"), ProfileStatus::Ok);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
             QStringList({u".Other.ini.g7H8i9"_qs, u".Pomvale.ini.d4E5f6"_qs, u"Pomvale.ini"_qs}));
}

void tst_ProfileFile::permissionBitsKept()
{
    const mode_t oldMask = ::umask(022);
    QCOMPARE(platform::writeProfileString(file(u"new.ini"_qs), u"Option", u"Enable", u"1"),
             ProfileStatus::Ok);
    QCOMPARE(modeOf(file(u"new.ini"_qs)), mode_t(0644));
    ::umask(oldMask);

    put("[Option]\nEnable=0\n");
    QVERIFY(::chmod(QFile::encodeName(file()).constData(), 0640) == 0);
    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Enable", u"1"), ProfileStatus::Ok);
    QCOMPARE(modeOf(file()), mode_t(0640));
    QCOMPARE(contents(), QByteArray("[Option]\nEnable=1\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary left
}

void tst_ProfileFile::symbolicLinkFollowed()
{
    QVERIFY(QDir(m_dir->path()).mkdir(u"real"_qs));
    put("[Option]\nEnable=0\n", u"real/settings.ini"_qs);
    QVERIFY(QFile::link(u"real/settings.ini"_qs, file()));

    QCOMPARE(platform::writeProfileString(file(), u"Option", u"Enable", u"1"), ProfileStatus::Ok);
    QVERIFY(QFileInfo(file()).isSymLink());
    QCOMPARE(contents(u"real/settings.ini"_qs), QByteArray("[Option]\nEnable=1\n"));

    // A link to a file that is not there yet: the file is made where the link points.
    QVERIFY(QFile::link(u"real/later.ini"_qs, file(u"dangling.ini"_qs)));
    QCOMPARE(platform::writeProfileString(file(u"dangling.ini"_qs), u"Option", u"Enable", u"1"),
             ProfileStatus::Ok);
    QVERIFY(QFileInfo(file(u"dangling.ini"_qs)).isSymLink());
    QCOMPARE(contents(u"real/later.ini"_qs), QByteArray("[Option]\r\nEnable=1\r\n"));
}

// Runs the writer process with the temporary folder read-only to it, and configHome as its
// XDG_CONFIG_HOME (by default one where nothing can be made).
int tst_ProfileFile::runWriterInReadOnlyFolder(const QStringList &arguments, const QString &configHome,
                                               QByteArray *output)
{
    return runProgram(QStringLiteral(PROFILEWRITER), arguments, m_dir->path(),
                      {u"XDG_CONFIG_HOME="_qs + configHome}, output);
}

// A configuration folder that the writer's user owns.
QString tst_ProfileFile::writerConfigHome()
{
    QString home = file(u"home"_qs);
    if (!QDir().mkpath(home))
        return {};
    if (::geteuid() == 0 && ::chown(QFile::encodeName(home).constData(), 65534, 65534) != 0)
        return {};
    return home;
}

void tst_ProfileFile::readOnlyFolder()
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

void tst_ProfileFile::perUserCopyInReadOnlyFolder()
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

QTEST_GUILESS_MAIN(tst_ProfileFile)
#include "tst_profilefile.moc"
