// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QString;
class QWidget;

namespace platform {

// The modal message box with one OK button: with no icon, or with the warning icon for a fault.
class MessageBox
{
public:
    virtual ~MessageBox() = default;

    // Shows text titled title, centred over owner, and returns once the user has closed it.
    virtual void show(QWidget *owner, const QString &text, const QString &title) = 0;

    // The same with the warning icon.
    virtual void warn(QWidget *owner, const QString &text, const QString &title) = 0;
};

} // namespace platform
