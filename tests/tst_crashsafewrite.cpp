// SPDX-License-Identifier: GPL-3.0-or-later
// A writer killed at any moment, or cut off by a power failure, leaves the settings file whole,
// with the old or the new value.
#include "helpers.h"
#include "settings/inidocument.h"
#include "settings/profilefile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

class tst_CrashSafeWrite : public QObject
{
    Q_OBJECT

private slots:
    void killedWriterLeavesWholeFile();
    void fullDiskLeavesFileAsItWas();
    void powerCutKeepsWhatASaveReported_data();
    void powerCutKeepsWhatASaveReported();
};

namespace {

QByteArray withPath(const QByteArray &file, const QString &path)
{
    settings::IniDocument document(file.toStdString(), settings::platformSeam(), settings::UnicodeForm::Utf8);
    document.setValue(u"Option", u"Path", path.toStdU16String());
    return QByteArray::fromStdString(document.bytes());
}

settings::SaveOutcome savePath(const QString &ini, const QString &value)
{
    return settings::saveProfile(settings::platformSeam(), QFile::encodeName(ini).toStdString(), u"Option",
                                 {{u"Path", value.toStdU16String()}});
}

} // namespace

void tst_CrashSafeWrite::killedWriterLeavesWholeFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Pomvale.ini"));

    // Large enough that a write takes a while, so that kills land inside writes.
    QByteArray initial("; settings\r\n[Other]\r\n");
    for (int i = 0; i < 2000; ++i)
        initial += "key" + QByteArray::number(i) + "=some value that takes room\r\n";
    initial += "[Option]\r\nEnable=1\r\nPath=/old.wav\r\n";
    const QString first = QStringLiteral("/first/") + QString(200, u'a');
    const QString second = QStringLiteral("/second/") + QString(300, u'b');
    const QByteArray firstFile = withPath(initial, first);
    const QByteArray secondFile = withPath(initial, second);
    QVERIFY(writeFile(path, firstFile));

    // Kills land anywhere within a few saves, however long a save takes on this machine (its sync
    // alone can take tens of milliseconds on a loaded one).
    QElapsedTimer oneSave;
    oneSave.start();
    savePath(path, second);
    savePath(path, first);
    const qint64 killWithinMicroseconds
        = std::clamp<qint64>(oneSave.nsecsElapsed() / 1000 * 2, 25'000, 200'000);
    QVERIFY(readFile(path) == firstFile);

    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("seed %u", seed);
    QRandomGenerator random(seed);
    int sawOld = 0;
    int sawNew = 0;
    bool holdsFirst = true;
    for (int round = 0; round < 200; ++round) {
        // A forked copy of this process writes the value the file does not hold, then the other,
        // and so on, until it is killed at a random moment: before, inside or after a write.
        const QString &next = holdsFirst ? second : first;
        const QString &then = holdsFirst ? first : second;
        const qint64 spin = random.bounded(killWithinMicroseconds) * 1000;
        const pid_t writer = ::fork();
        QVERIFY(writer >= 0);
        if (writer == 0) {
            for (unsigned long i = 0;; ++i)
                savePath(path, i % 2 ? then : next);
        }
        QElapsedTimer timer;
        timer.start();
        while (timer.nsecsElapsed() < spin) { }
        ::kill(writer, SIGKILL);
        int status = 0;
        QCOMPARE(::waitpid(writer, &status, 0), writer);
        QVERIFY(WIFSIGNALED(status));

        const QByteArray after = readFile(path);
        const bool nowFirst = after == firstFile;
        if (!nowFirst && after != secondFile)
            QFAIL(
                qPrintable(QStringLiteral("round %1: the file is neither the old nor the new one (%2 bytes)")
                               .arg(round)
                               .arg(after.size())));
        ++(nowFirst == holdsFirst ? sawOld : sawNew);
        holdsFirst = nowFirst;
    }
    qInfo("old value %d times, new value %d times", sawOld, sawNew);
    QVERIFY(sawOld > 0 && sawNew > 0);
}

void tst_CrashSafeWrite::fullDiskLeavesFileAsItWas()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Pomvale.ini"));
    QByteArray before("[Option]\r\nEnable=1\r\nPath=/old.wav\r\n");
    before += QByteArray(16 * 1024, ';') + "\r\n";
    QVERIFY(writeFile(path, before));

    // A child whose files may not grow past 8 KB meets a full disk halfway through the write.
    const pid_t writer = ::fork();
    QVERIFY(writer >= 0);
    if (writer == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit {8 * 1024, 8 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(savePath(path, QStringLiteral("/new.wav")) == settings::SaveOutcome::Failed ? 0 : 1);
    }
    int status = 0;
    QCOMPARE(::waitpid(writer, &status, 0), writer);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0); // the failure is reported
    QCOMPARE(readFile(path), before);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temporary left
}

void tst_CrashSafeWrite::powerCutKeepsWhatASaveReported_data()
{
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("replaced through a new file") << false;
    QTest::newRow("written in place, in a folder it may not write") << true;
}

void tst_CrashSafeWrite::powerCutKeepsWhatASaveReported()
{
    QFETCH(bool, inPlace);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Pomvale.ini"));
    const QStringList powerCutAtExit {QStringLiteral("LD_PRELOAD=" POWERCUT),
                                      QStringLiteral("ASAN_OPTIONS=verify_asan_link_order=0")};

    const QStringList save {QStringLiteral("once"), path, QStringLiteral("Option"), QStringLiteral("Enable"),
                            QStringLiteral("1")};
    QVERIFY(writeFile(path, "; mine\n"));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0666) == 0);
    const QString folder = inPlace ? dir.path() : QString();

    // Without its syncs the save is lost: the cut is real.
    QCOMPARE(runProgram(QStringLiteral(PROFILEWRITER), save, folder,
                        powerCutAtExit + QStringList {QStringLiteral("POWERCUT_IGNORE_SYNCS=1")}),
             0);
    QCOMPARE(readFile(path), QByteArray("; mine\n"));

    // A save that reported success has synced the file and its folder: it survives the cut.
    QCOMPARE(runProgram(QStringLiteral(PROFILEWRITER), save, folder, powerCutAtExit), 0);
    QCOMPARE(readFile(path), QByteArray("; mine\n[Option]\nEnable=1\n"));
}

QTEST_GUILESS_MAIN(tst_CrashSafeWrite)
#include "tst_crashsafewrite.moc"
