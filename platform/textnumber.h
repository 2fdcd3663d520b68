#pragma once

#include <QString>

namespace platform {

// A number as decimal text with at least two digits: 3 gives "03", 45 gives "45", -1 gives "-01".
QString formatTwoDigits(int value);

} // namespace platform
