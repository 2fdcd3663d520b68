// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/widgets/qtfiledialog.h"

#include <QFileDialog>

namespace platform {

QString QtFileDialog::showOpen(QWidget *owner, const QString &filter)
{
    QFileDialog dialog(owner);
    dialog.setFileMode(QFileDialog::ExistingFile); // only files that exist can be chosen
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Qt reads the pattern from the parentheses that end the description, so the description alone
    // is Qt's filter; shown with its pattern again it would read "wavファイル(*.wav) (*.wav)".
    dialog.setNameFilter(filter.section(QLatin1Char('|'), 0, 0));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace platform
