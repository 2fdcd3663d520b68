#include "platform/textnumber.h"

#include <cstdlib>

namespace platform {

QString formatTwoDigits(int value)
{
    const QString digits = QStringLiteral("%1").arg(std::abs(value), 2, 10, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace platform
