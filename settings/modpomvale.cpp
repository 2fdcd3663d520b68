// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/modpomvale.h"

#include "platform/paths.h"
#include "platform/perusercopy.h"
#include "settings/modini.h"
#include "settings/modpath.h"

namespace modPomvale {

QString IniPath;
QString SoundEnable;
QString SoundPath;

namespace {

const QString fileName = QStringLiteral("Pomvale.ini");
const QString section = QStringLiteral("Option");
const QString enableKey = QStringLiteral("Enable");
const QString pathKey = QStringLiteral("Path");

} // namespace

void LoadOption()
{
    const QString folder = platform::applicationDir();
    // In a folder the user may not write, the user's own copy when there is one.
    const QString path = platform::fileToRead(modPath::CombinePath(folder, fileName));
    // A folder of that name, or anything else that is no regular file, counts as no file; so does
    // everything when the executable's folder is not known.
    if (folder.isEmpty() || platform::findRegularFile(path).size() < 2) {
        SoundEnable = QStringLiteral("0");
        SoundPath.clear();
        return;
    }
    IniPath = path;
    if (!modINI::ReadIni(IniPath, section, enableKey, SoundEnable))
        SoundEnable = QStringLiteral("0");
    if (!modINI::ReadIni(IniPath, section, pathKey, SoundPath))
        SoundPath.clear();
}

SaveResult SaveOption()
{
    const QString folder = platform::applicationDir();
    IniPath = modPath::CombinePath(folder, fileName);
    if (folder.isEmpty()) // the name alone would land in the working folder
        return {};
    // In a folder the user may not write, the user's own copy, made from the file there.
    IniPath = platform::prepareFileToWrite(IniPath);
    // Both keys are written even when the first fails; the values stay in effect in memory.
    bool notInFileEncoding = false;
    const bool enableStored = modINI::WriteIni(IniPath, section, enableKey, SoundEnable, &notInFileEncoding);
    const bool pathStored = modINI::WriteIni(IniPath, section, pathKey, SoundPath, &notInFileEncoding);
    return {enableStored && pathStored, notInFileEncoding};
}

} // namespace modPomvale
