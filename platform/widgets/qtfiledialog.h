// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/widgets/filedialog.h"

namespace platform {

// The file-open dialog as Qt draws it.
class QtFileDialog final : public FileDialog
{
public:
    QString showOpen(QWidget *owner, const QString &filter) override;
};

} // namespace platform
