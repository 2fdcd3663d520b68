// SPDX-License-Identifier: GPL-3.0-or-later
// The profile text rules: how keys are found, and which bytes an edit touches.
#include "platform/profile/inidocument.h"

#include <QTest>

using platform::IniDocument;

class tst_IniDocument : public QObject
{
    Q_OBJECT

private slots:
    void lookup_data();
    void lookup();
    void writeTouchesOnlyItsBytes_data();
    void writeTouchesOnlyItsBytes();
    void refusesWhatWouldNotReadBack_data();
    void refusesWhatWouldNotReadBack();
    void writtenValuesReadBack_data();
    void writtenValuesReadBack();
};

void tst_IniDocument::lookup_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("value");

    const QByteArray lf = "; written by hand\n"
                          "[Other]\n"
                          "Enable=other\n"
                          "\n"
                          "[  oPTION  ]\n"
                          " enable =  1  \n"
                          "\tpath\t= \"C:\\Sound Files\\a.wav\" \n"
                          "Single='one'\n"
                          "Mismatched=\"abc'\n"
                          "Lonely=\"\n"
                          "EmptyQuotes=\"\"\n"
                          "NoEquals\n"
                          ";Commented=yes\n"
                          "Empty=\n"
                          "Enable=second\n"
                          "[option]\n"
                          "Extra=from the second section\n";
    struct Query
    {
        const char *name;
        const char *section;
        const char *key;
        bool found;
        const char *value;
    };
    const Query queries[] = {
        {"names ignore case and blanks", "Option", "Enable", true, "1"},
        {"double quotes removed", "OPTION", "PATH", true, "C:\\Sound Files\\a.wav"},
        {"single quotes removed", "Option", "single", true, "one"},
        {"mismatched quotes kept", "Option", "Mismatched", true, "\"abc'"},
        {"a lone quote kept", "Option", "Lonely", true, "\""},
        {"empty quotes are an empty value", "Option", "EmptyQuotes", true, ""},
        {"line without equals is no key", "Option", "NoEquals", false, ""},
        {"comment is no key", "Option", ";Commented", false, ""},
        {"empty value found", "Option", "Empty", true, ""},
        {"first section wins", "Option", "Extra", false, ""},
        {"other section", "other", "ENABLE", true, "other"},
        {"missing section", "Missing", "Enable", false, ""},
    };
    const QList<std::pair<const char *, QByteArray>> endings {{"LF", "\n"}, {"CRLF", "\r\n"}, {"CR", "\r"}};
    for (const auto &[endingName, ending] : endings) {
        QByteArray file = lf;
        file.replace("\n", ending);
        for (const Query &q : queries) {
            QTest::addRow("%s, %s", q.name, endingName)
                << file << QString::fromUtf8(q.section) << QString::fromUtf8(q.key) << q.found
                << QString::fromUtf8(q.value);
        }
    }
}

void tst_IniDocument::lookup()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QString, value);

    const IniDocument document(file);
    const auto read = document.value(section, key);
    QCOMPARE(read.has_value(), found);
    if (found)
        QCOMPARE(*read, value);
}

void tst_IniDocument::writeTouchesOnlyItsBytes_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("new file is CRLF") << QByteArray() << "Enable"
                                      << "1" << QByteArray("[Option]\r\nEnable=1\r\n");
    QTest::newRow("value replaced, spelling and blanks kept")
        << QByteArray("; top\r\n\r\n[option]\r\n ENABLE = 0 \r\nPath=x\r\n") << "Enable"
        << "1" << QByteArray("; top\r\n\r\n[option]\r\n ENABLE = 1 \r\nPath=x\r\n");
    QTest::newRow("new key after the section's last key")
        << QByteArray("; top\n[Option]\nEnable=1\n\n[Other]\nb=2\n") << "Path"
        << "/a.wav" << QByteArray("; top\n[Option]\nEnable=1\nPath=/a.wav\n\n[Other]\nb=2\n");
    QTest::newRow("new key in an empty section")
        << QByteArray("[Option]\n; nothing yet\n[Other]\n") << "Path"
        << "p" << QByteArray("[Option]\nPath=p\n; nothing yet\n[Other]\n");
    QTest::newRow("new key after a last line without ending")
        << QByteArray("[Option]\nEnable=0") << "Path"
        << "p" << QByteArray("[Option]\nEnable=0\nPath=p");
    QTest::newRow("new section at the end, CRLF")
        << QByteArray("[Other]\r\nb=2") << "Enable"
        << "1" << QByteArray("[Other]\r\nb=2\r\n[Option]\r\nEnable=1\r\n");
    QTest::newRow("new section at the end, CR") << QByteArray("[Other]\rb=2\r") << "Enable"
                                                << "1" << QByteArray("[Other]\rb=2\r[Option]\rEnable=1\r");
    QTest::newRow("first of two sections written")
        << QByteArray("[Option]\nA=1\n[Option]\nPath=x\n") << "Path"
        << "y" << QByteArray("[Option]\nA=1\nPath=y\n[Option]\nPath=x\n");
    QTest::newRow("quotes of the old value kept") << QByteArray("[Option]\nPath='old'\n") << "Path"
                                                  << "new" << QByteArray("[Option]\nPath='new'\n");
    QTest::newRow("blanks at the ends quoted") << QByteArray("[Option]\nPath=old\n") << "Path"
                                               << " padded " << QByteArray("[Option]\nPath=\" padded \"\n");
    QTest::newRow("quoted text quoted again") << QByteArray("[Option]\n") << "Path"
                                              << "'q'" << QByteArray("[Option]\nPath=\"'q'\"\n");
    QTest::newRow("empty value") << QByteArray("[Option]\nEnable=1\n") << "Enable"
                                 << "" << QByteArray("[Option]\nEnable=\n");
    QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBF[Option]\nEnable=0\n") << "Enable"
                                          << "1" << QByteArray("\xEF\xBB\xBF[Option]\nEnable=1\n");
}

void tst_IniDocument::writeTouchesOnlyItsBytes()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QByteArray, after);

    IniDocument document(before);
    QCOMPARE(document.setValue(u"Option", key, value), IniDocument::WriteResult::Stored);
    QCOMPARE(document.bytes(), after);
    QCOMPARE(document.value(u"Option", key), value);
}

void tst_IniDocument::refusesWhatWouldNotReadBack_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<IniDocument::WriteResult>("result");

    using R = IniDocument::WriteResult;
    QTest::newRow("line break in value") << "Option"
                                         << "Path"
                                         << "a\nb" << R::InvalidValue;
    QTest::newRow("CR in value") << "Option"
                                 << "Path"
                                 << "a\rb" << R::InvalidValue;
    QTest::newRow("NUL in value") << "Option"
                                  << "Path" << QString::fromUtf16(u"a\0b", 3) << R::InvalidValue;
    QTest::newRow("lone surrogate") << "Option"
                                    << "Path" << QString(QChar(0xD800)) << R::InvalidValue;
    QTest::newRow("empty key") << "Option"
                               << ""
                               << "v" << R::InvalidName;
    QTest::newRow("equals in key") << "Option"
                                   << "a=b"
                                   << "v" << R::InvalidName;
    QTest::newRow("comment key") << "Option"
                                 << ";k"
                                 << "v" << R::InvalidName;
    QTest::newRow("blank around key") << "Option"
                                      << " k"
                                      << "v" << R::InvalidName;
    QTest::newRow("bracket in section") << "a]b"
                                        << "k"
                                        << "v" << R::InvalidName;
}

void tst_IniDocument::refusesWhatWouldNotReadBack()
{
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(IniDocument::WriteResult, result);

    const QByteArray before("[Option]\nPath=old\n");
    IniDocument document(before);
    QCOMPARE(document.setValue(section, key, value), result);
    QCOMPARE(document.bytes(), before);
}

void tst_IniDocument::writtenValuesReadBack_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("value");

    QTest::newRow("Japanese into UTF-8")
        << QByteArray("[Option]\n") << u"/home/ユーザー/音楽/アラーム.wav"_qs;
    QTest::newRow("value with equals and semicolon") << QByteArray() << "a=b;c";
    QTest::newRow("long Japanese path, not cut") << QByteArray() << QString(u"/音楽"_qs).repeated(1500);
    QTest::newRow("emoji") << QByteArray() << u"🎵.wav"_qs;
}

void tst_IniDocument::writtenValuesReadBack()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, value);

    IniDocument document(file);
    QCOMPARE(document.setValue(u"Option", u"Path", value), IniDocument::WriteResult::Stored);
    const IniDocument reread(document.bytes());
    QCOMPARE(reread.value(u"Option", u"Path"), value);
}

QTEST_GUILESS_MAIN(tst_IniDocument)
#include "tst_inidocument.moc"
