// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace platform {

// Reading and writing single keys of profile (INI) files on disk: the program's stand-in for the
// Windows profile functions. The text rules are IniDocument's; the encoding is found per file
// (UTF-8, with or without a byte order mark, or CP932), and a new file is UTF-8 without a mark.

enum class ProfileStatus {
    Ok,
    Missing, // no such file, section or key
    Failed, // the file could not be read or written, or the text could not be converted
    NotRepresentable, // the value has no form in the file's encoding, which the file must keep
};

struct ProfileRead
{
    ProfileStatus status = ProfileStatus::Missing;
    QString value;
};

// Files larger than this are not read: a settings file never comes near it.
inline constexpr qint64 maxProfileSize = 64 * 1024 * 1024;

// The value of the key, quotes and surrounding blanks removed. May throw std::bad_alloc and
// std::runtime_error (no CP932 conversion on the system).
ProfileRead readProfileString(const QString &file, QStringView section, QStringView key);

// Stores key=value in the file, keeping every other byte of it, with a crash-safe write.
// Ok when the file holds the value afterwards. May throw like readProfileString.
ProfileStatus writeProfileString(const QString &file, QStringView section, QStringView key,
                                 QStringView value);

} // namespace platform
