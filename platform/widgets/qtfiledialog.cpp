#include "platform/widgets/qtfiledialog.h"

#include <QFileDialog>
#include <QStringList>

namespace platform {

namespace {

// "desc|pattern|desc|pattern" becomes Qt's "desc (pattern);;desc (pattern)", with several patterns
// of one entry ("*.wav;*.wave") separated by blanks. Qt takes the patterns from the parentheses at
// the end, so a description that already ends in them, as "wavファイル(*.wav)" does, stands alone
// rather than showing its patterns twice.
QString toQtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString &description = parts.at(i);
        const QString patterns = QString(parts.at(i + 1)).replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')')))
            entries << description;
        else
            entries << description + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return entries.join(QLatin1String(";;"));
}

} // namespace

QString QtFileDialog::showOpen(QWidget *owner, const QString &filter)
{
    QFileDialog dialog(owner);
    dialog.setFileMode(QFileDialog::ExistingFile); // only files that exist can be chosen
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(toQtFilter(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace platform
