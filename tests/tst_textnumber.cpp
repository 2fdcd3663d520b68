// SPDX-License-Identifier: GPL-3.0-or-later
// Decimal text to a 16-bit integer, as a stored check box state is read back.
#include "platform/textnumber.h"

#include <QTest>

#include <optional>

class tst_TextNumber : public QObject
{
    Q_OBJECT

private slots:
    void toInt16_data();
    void toInt16();
};

void tst_TextNumber::toInt16_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("converts");
    QTest::addColumn<int>("value");

    QTest::newRow("plain") << "1" << true << 1;
    QTest::newRow("blanks and leading zero") << " 01 " << true << 1;
    QTest::newRow("many leading zeros") << "0000000000000000000000002" << true << 2;
    QTest::newRow("signs") << "-7" << true << -7;
    QTest::newRow("minus zero") << "-0" << true << 0;
    QTest::newRow("half down to even") << "0.5" << true << 0;
    QTest::newRow("half up to even") << "1.5" << true << 2;
    QTest::newRow("2.5 to even") << "2.5" << true << 2;
    QTest::newRow("negative half") << "-2.5" << true << -2;
    QTest::newRow("just above half") << "0.5000001" << true << 1;
    QTest::newRow("below half") << "1.49999" << true << 1;
    QTest::newRow("no integer part") << ".7" << true << 1;
    QTest::newRow("largest") << "32767" << true << 32767;
    QTest::newRow("smallest") << "-32768" << true << -32768;
    QTest::newRow("largest by rounding down") << "32767.4" << true << 32767;

    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("trailing letter") << "1a" << false << 0;
    QTest::newRow("blank inside") << "1 0" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("point alone") << "." << false << 0;
    QTest::newRow("blank after sign") << "- 1" << false << 0;
    QTest::newRow("too large") << "32768" << false << 0;
    QTest::newRow("too small") << "-32769" << false << 0;
    QTest::newRow("too large by rounding up") << "32767.5" << false << 0;
}

void tst_TextNumber::toInt16()
{
    QFETCH(QString, text);
    QFETCH(bool, converts);
    QFETCH(int, value);

    const std::optional<qint16> result = platform::toInt16(text);
    QCOMPARE(result.has_value(), converts);
    if (converts)
        QCOMPARE(int(*result), value);
}

QTEST_APPLESS_MAIN(tst_TextNumber)
#include "tst_textnumber.moc"
