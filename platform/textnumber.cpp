#include "platform/textnumber.h"

#include <algorithm>
#include <limits>

namespace platform {

QString formatTwoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

} // namespace

std::optional<qint16> toInt16(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;

    qsizetype at = begin;
    bool negative = false;
    if (at < end && (text.at(at) == QLatin1Char('+') || text.at(at) == QLatin1Char('-'))) {
        negative = text.at(at) == QLatin1Char('-');
        ++at;
    }

    // The digits are read one by one rather than through a double, so that no run of leading zeros
    // or fraction digits can overflow or round twice. The magnitude saturates beyond the 16-bit range.
    constexpr long long Limit = 1LL << 16;
    long long magnitude = 0;
    qsizetype digits = 0;
    for (; at < end && isDigit(text.at(at)); ++at, ++digits)
        magnitude = std::min(Limit, magnitude * 10 + (text.at(at).unicode() - '0'));

    int firstFraction = 0; // the first digit after the point
    bool moreFraction = false; // any non-zero digit after the first
    if (at < end && text.at(at) == QLatin1Char('.')) {
        ++at;
        for (qsizetype position = 0; at < end && isDigit(text.at(at)); ++at, ++position, ++digits) {
            const int digit = text.at(at).unicode() - '0';
            if (position == 0)
                firstFraction = digit;
            else if (digit != 0)
                moreFraction = true;
        }
    }
    if (digits == 0 || at != end)
        return std::nullopt;

    const bool roundUp = firstFraction > 5 || (firstFraction == 5 && (moreFraction || magnitude % 2 == 1));
    if (roundUp)
        magnitude = std::min(Limit, magnitude + 1);
    const long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(value);
}

} // namespace platform
