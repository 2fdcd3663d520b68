#include "platform/qtfiledialog.h"

#include <QFileDialog>
#include <QStringList>

namespace platform {

namespace {

// "desc|pattern|desc|pattern" becomes Qt's "desc (pattern);;desc (pattern)".
QString toQtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        entries << parts.at(i) + QLatin1String(" (") + parts.at(i + 1) + QLatin1Char(')');
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
