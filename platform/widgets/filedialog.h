// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
class QWidget;

namespace platform {

// The modal file-open dialog.
class FileDialog
{
public:
    virtual ~FileDialog() = default;

    // Lets the user pick one existing file. filter is one "description|pattern" entry whose
    // description ends in its pattern, as "wavファイル(*.wav)|*.wav". Returns the file's full path,
    // or an empty text when cancelled.
    virtual QString showOpen(QWidget *owner, const QString &filter) = 0;
};

} // namespace platform
