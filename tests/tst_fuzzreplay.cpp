// SPDX-License-Identifier: GPL-3.0-or-later
// Replays the fuzzer's seed corpus, so every build checks the inputs the fuzzer starts from.
#include "fuzz/profilefuzz.h"

#include <QDir>
#include <QFile>
#include <QTest>

class tst_FuzzReplay : public QObject
{
    Q_OBJECT

private slots:
    void seedCorpus_data();
    void seedCorpus();
};

void tst_FuzzReplay::seedCorpus_data()
{
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(POMVALE_FUZZ_CORPUS));
    const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
    QVERIFY(names.size() >= 10);
    for (const QString &name : names)
        QTest::newRow(qPrintable(name)) << corpus.filePath(name);
}

void tst_FuzzReplay::seedCorpus()
{
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray input = file.readAll();
    QVERIFY(checkProfileInput(reinterpret_cast<const uint8_t *>(input.constData()), size_t(input.size())));
}

QTEST_GUILESS_MAIN(tst_FuzzReplay)
#include "tst_fuzzreplay.moc"
