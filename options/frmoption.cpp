// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/frmoption.h"

#include "core/optionwindowdesign.h"
#include "platform/services.h"
#include "platform/widgets/commandbutton.h"
#include "platform/widgets/design.h"
#include "platform/widgets/filedialog.h"
#include "platform/widgets/followowner.h"
#include "platform/widgets/messagebox.h"

#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

using platform::designText;
using platform::twipsRect;
namespace Design = frmOptionDesign;

namespace {

Qt::CheckState toCheckState(CheckValue value)
{
    switch (value) {
    case CheckValue::Checked:
        return Qt::Checked;
    case CheckValue::Grayed:
        return Qt::PartiallyChecked;
    case CheckValue::Unchecked:
        break;
    }
    return Qt::Unchecked;
}

CheckValue toCheckValue(Qt::CheckState state)
{
    switch (state) {
    case Qt::Checked:
        return CheckValue::Checked;
    case Qt::PartiallyChecked:
        return CheckValue::Grayed;
    case Qt::Unchecked:
        break;
    }
    return CheckValue::Unchecked;
}

// A click or Space moves the box as the options logic says, not round Qt's three states.
class LogicClickCheckBox final : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override
    {
        setCheckState(toCheckState(OptionsForm::NextCheckValue(toCheckValue(checkState()))));
    }
};

QPushButton *makePictureButton(QWidget *parent, const QString &name, const QString &picture,
                               std::u16string_view accessibleName, const core::TwipsRect &design)
{
    QPushButton *button = platform::makeCommandButton(parent, QString(), name, twipsRect(design));
    const QPixmap pixmap(picture);
    button->setIcon(pixmap);
    button->setIconSize(pixmap.size());
    // Without a caption a screen reader would have nothing to tell the two apart.
    button->setAccessibleName(designText(accessibleName));
    return button;
}

} // namespace

frmOption::frmOption(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(designText(Design::Caption));
    // No border and no title bar; as a dialog owned by the main window it stays out of the taskbar.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(platform::twips(Design::Width), platform::twips(Design::Height));
    // Without a title bar it cannot be dragged itself; it stays over its owner when that is dragged.
    new platform::FollowOwner(this);
    createControls();
}

void frmOption::showModal()
{
    m_form.Form_Load();
    // Centred over the owner wherever it stands; placing it here keeps Qt from nudging it on screen.
    if (const QWidget *owner = parentWidget()) {
        QRect area(QPoint(), size());
        area.moveCenter(owner->frameGeometry().center());
        move(area.topLeft());
    }
    exec(); // returns however the window closes: OK, Cancel, or a close request from the platform
    m_form.Form_Unload();
}

void frmOption::keyPressEvent(QKeyEvent *event)
{
    // No default and no cancel button: Esc closes nothing, and Enter acts only on a focused button,
    // which handles it itself. QDialog would otherwise reject on Esc and click a default on Enter.
    QWidget::keyPressEvent(event); // NOLINT(bugprone-parent-virtual-call): skips QDialog on purpose
}

bool frmOption::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtFileName && event->type() == QEvent::FocusIn) {
        // The focus coming back with the window, or from a popup, is no move into the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_form.txtFileName_GotFocus();
    }
    return QDialog::eventFilter(watched, event);
}

void frmOption::createControls()
{
    // Created in tab order, which is also the focus chain; the label and the frame take no focus.
    OKButton = platform::makeCommandButton(this, designText(Design::OKButtonCaption),
                                           QStringLiteral("OKButton"), twipsRect(Design::OKButton));
    CancelButton
        = platform::makeCommandButton(this, designText(Design::CancelButtonCaption),
                                      QStringLiteral("CancelButton"), twipsRect(Design::CancelButton));

    chkSoundEnable = new LogicClickCheckBox(designText(Design::chkSoundEnableCaption), this);
    chkSoundEnable->setObjectName(QStringLiteral("chkSoundEnable"));
    chkSoundEnable->setGeometry(twipsRect(Design::chkSoundEnable));

    lblTitle = new QLabel(designText(Design::Caption), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(twipsRect(Design::lblTitle));

    frameSound = new QGroupBox(designText(Design::frameSoundCaption), this);
    frameSound->setObjectName(QStringLiteral("frameSound"));
    frameSound->setGeometry(twipsRect(Design::frameSound));
    frameSound->hide();

    txtFileName = new QLineEdit(designText(Design::txtFileNameText), frameSound);
    txtFileName->setObjectName(QStringLiteral("txtFileName"));
    txtFileName->setGeometry(twipsRect(Design::txtFileName));
    // Longer than any real path; a longer hand-edited value would take the box seconds and
    // gigabytes to lay out, so it shows cut (OK keeps it whole unless it was edited).
    txtFileName->setMaxLength(OptionsForm::MaxPathLength);
    txtFileName->installEventFilter(this);

    cmdOpenFile = makePictureButton(frameSound, QStringLiteral("cmdOpenFile"),
                                    QStringLiteral(":/options/openfile.png"), Design::cmdOpenFileName,
                                    Design::cmdOpenFile);
    cmdOpenFile->setToolTip(designText(Design::cmdOpenFileToolTip));
    cmdPlay = makePictureButton(frameSound, QStringLiteral("cmdPlay"), QStringLiteral(":/options/play.png"),
                                Design::cmdPlayName, Design::cmdPlay);

    setTabOrder(OKButton, CancelButton);
    setTabOrder(CancelButton, chkSoundEnable);
    setTabOrder(chkSoundEnable, txtFileName);
    setTabOrder(txtFileName, cmdOpenFile);
    setTabOrder(cmdOpenFile, cmdPlay);

    connect(OKButton, &QPushButton::clicked, this, [this] { m_form.OKButton_Click(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { m_form.CancelButton_Click(); });
    connect(chkSoundEnable, &QCheckBox::stateChanged, this, [this] { m_form.chkSoundEnable_Click(); });
    connect(cmdOpenFile, &QPushButton::clicked, this, [this] { m_form.cmdOpenFile_Click(); });
    connect(cmdPlay, &QPushButton::clicked, this, [this] { m_form.cmdPlay_Click(); });

    OKButton->setFocus(); // the first control in tab order has the focus when the window shows
}

CheckValue frmOption::checkValue() const
{
    return toCheckValue(chkSoundEnable->checkState());
}

void frmOption::setCheckValue(CheckValue value)
{
    chkSoundEnable->setCheckState(toCheckState(value));
}

std::u16string frmOption::pathText() const
{
    return txtFileName->text().toStdU16String();
}

void frmOption::setPathText(const std::u16string &text)
{
    txtFileName->setText(QString::fromStdU16String(text));
}

void frmOption::selectAllPathText()
{
    txtFileName->selectAll();
}

void frmOption::setFrameVisible(bool visible)
{
    frameSound->setVisible(visible);
}

std::u16string frmOption::showOpenDialog(const std::u16string &filter)
{
    return platform::fileDialog().showOpen(this, QString::fromStdU16String(filter)).toStdU16String();
}

void frmOption::showWarning(const std::u16string &text, const std::u16string &title)
{
    platform::messageBox().warn(this, QString::fromStdU16String(text), QString::fromStdU16String(title));
}

void frmOption::unload()
{
    done(QDialog::Accepted); // modal showing returns; Form_Unload follows there
}
