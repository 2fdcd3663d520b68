// SPDX-License-Identifier: GPL-3.0-or-later
#include "profilefuzz.h"

#include "platform/profile/inidocument.h"

#include <QList>
#include <QStringDecoder>

#include <algorithm>
#include <optional>

using platform::IniDocument;

namespace {

const QList<QString> &sections()
{
    static const QList<QString> names {u"Option"_qs, u"option"_qs, u"セクション"_qs, u"A b"_qs};
    return names;
}

const QList<QString> &keys()
{
    static const QList<QString> names {u"Enable"_qs, u"PATH"_qs, u"キー"_qs, u"x"_qs};
    return names;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

bool checkProfileInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return true;
    const QString &section = sections()[data[0] & 3];
    const QString &key = keys()[(data[0] >> 2) & 3];
    const size_t valueLength = std::min<size_t>(data[0] >> 4, size - 1);
    const QString value = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(valueLength));
    const QByteArray file(reinterpret_cast<const char *>(data + 1 + valueLength),
                          qsizetype(size - 1 - valueLength));

    // The encoding guess: valid UTF-8 is exactly what Qt's decoder takes without error and gives back
    // unchanged (a byte order mark included).
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::ConvertInitialBom);
    const QString decoded = decoder(file);
    if (platform::isValidUtf8(file) != (!decoder.hasError() && decoded.toUtf8() == file))
        return false;

    IniDocument document(file);
    QList<std::optional<QString>> before;
    for (const QString &s : sections()) {
        for (const QString &k : keys())
            before.append(document.value(s, k));
    }

    const auto result = document.setValue(section, key, value);
    if (result != IniDocument::WriteResult::Stored)
        return document.bytes() == file;

    if (document.value(section, key) != value)
        return false;
    qsizetype probe = 0;
    for (const QString &s : sections()) {
        for (const QString &k : keys()) {
            const bool written = sameName(s, section) && sameName(k, key);
            if (!written && document.value(s, k) != before[probe])
                return false;
            ++probe;
        }
    }

    // Read afresh, the file gives the same value, unless the edit changed how its encoding is
    // guessed (a replaced value held its only bytes that were not UTF-8).
    const IniDocument reread(document.bytes());
    if (reread.encoding() == document.encoding() && reread.value(section, key) != value)
        return false;
    return true;
}
