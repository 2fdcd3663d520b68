#include "platform/qtmessagebox.h"

#include "platform/attention.h"
#include "platform/quietmodal.h"

#include <QMessageBox>

namespace platform {

void QtMessageBox::show(QWidget *owner, const QString &text, const QString &title)
{
    // A parented box is centred over its owner; application-modal so no other window takes input.
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    if (programIsActive()) {
        box.exec();
        return;
    }
    // The user types in another program: the keys must stay there, and none may close the box.
    QuietModal(&box, owner).exec();
}

} // namespace platform
