#include "settings/modpomvale.h"

namespace modPomvale {

QString IniPath;
QString SoundEnable;
QString SoundPath;

void LoadOption()
{
    SoundEnable = QStringLiteral("0");
    SoundPath.clear();
}

bool SaveOption()
{
    return false;
}

} // namespace modPomvale
