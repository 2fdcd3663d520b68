// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Reading and writing single keys of the settings file. Neither function lets an error escape:
// on any failure the application's busy cursor is put back and the result is false.
namespace modINI {

// True when a non-empty value was read; value is then set to it whole, and left as it was otherwise.
bool ReadIni(const QString &file, const QString &section, const QString &key, QString &value);

// True when the file holds key=value in the section afterwards. When it is false because the
// value has no form in the file's encoding, *notInFileEncoding is set to true.
bool WriteIni(const QString &file, const QString &section, const QString &key, const QString &value,
              bool *notInFileEncoding = nullptr);

} // namespace modINI
