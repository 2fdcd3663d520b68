// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/modini.h"

#include "platform/profile/profile.h"

#include <QGuiApplication>

namespace modINI {

namespace {

// What the program does with an error of the file layer: the cursor goes back to the default,
// so that a caller that showed a busy cursor is not left with it, and nothing is reported.
bool trapError()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    return false;
}

} // namespace

bool ReadIni(const QString &file, const QString &section, const QString &key, QString &value)
{
    if (file.isEmpty() || section.isEmpty() || key.isEmpty())
        return false;
    try {
        const platform::ProfileRead read = platform::readProfileString(file, section, key);
        if (read.status == platform::ProfileStatus::Failed)
            return trapError();
        if (read.status == platform::ProfileStatus::Missing || read.value.isEmpty())
            return false;
        value = read.value;
        return true;
    } catch (...) {
        return trapError();
    }
}

bool WriteIni(const QString &file, const QString &section, const QString &key, const QString &value,
              bool *notInFileEncoding)
{
    if (file.isEmpty() || section.isEmpty() || key.isEmpty())
        return false;
    try {
        const platform::ProfileStatus status = platform::writeProfileString(file, section, key, value);
        if (status == platform::ProfileStatus::NotRepresentable && notInFileEncoding)
            *notInFileEncoding = true;
        if (status != platform::ProfileStatus::Ok)
            return trapError();
        return true;
    } catch (...) {
        return trapError();
    }
}

} // namespace modINI
