// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/widgets/messagebox.h"

namespace platform {

// The message box as Qt draws it: one OK button, no icon or the warning icon, modal to the
// application.
class QtMessageBox final : public MessageBox
{
public:
    void show(QWidget *owner, const QString &text, const QString &title) override;
    void warn(QWidget *owner, const QString &text, const QString &title) override;
};

} // namespace platform
