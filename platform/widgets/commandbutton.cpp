// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/widgets/commandbutton.h"

#include <QPushButton>

namespace platform {

QPushButton *makeCommandButton(QWidget *parent, const QString &caption, const QString &name,
                               const QRect &geometry)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setGeometry(geometry);
    // Outside a dialog Qt ignores Enter on a button that is not auto-default.
    button->setAutoDefault(true);
    return button;
}

} // namespace platform
