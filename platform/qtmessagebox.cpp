#include "platform/qtmessagebox.h"

#include <QMessageBox>

namespace platform {

void QtMessageBox::show(QWidget *owner, const QString &text, const QString &title)
{
    // A parented box is centred over its owner; application-modal so no other window takes input.
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace platform
