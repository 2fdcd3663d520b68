// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/widgets/qtmessagebox.h"

#include "platform/widgets/attention.h"
#include "platform/widgets/quietmodal.h"

#include <QMessageBox>

namespace platform {

namespace {

void showModal(QWidget *owner, const QString &text, const QString &title, QMessageBox::Icon icon)
{
    // A parented box is centred over its owner; application-modal so no other window takes input.
    QMessageBox box(icon, title, text, QMessageBox::Ok, owner);
    box.setWindowModality(Qt::ApplicationModal);
    if (programIsActive()) {
        box.exec();
        return;
    }
    // The user types in another program: the keys must stay there, and none may close the box.
    QuietModal(&box, owner).exec();
}

} // namespace

void QtMessageBox::show(QWidget *owner, const QString &text, const QString &title)
{
    showModal(owner, text, title, QMessageBox::NoIcon);
}

void QtMessageBox::warn(QWidget *owner, const QString &text, const QString &title)
{
    showModal(owner, text, title, QMessageBox::Warning);
}

} // namespace platform
