// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QPushButton;
class QRect;
class QWidget;

namespace platform {

// A command button placed by its design: caption, object name and geometry in the parent.
// Enter clicks it while it has the focus, as Space does; no window here has a default button.
QPushButton *makeCommandButton(QWidget *parent, const QString &caption, const QString &name,
                               const QRect &geometry);

} // namespace platform
