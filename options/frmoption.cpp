// SPDX-License-Identifier: GPL-3.0-or-later
#include "options/frmoption.h"

#include "platform/services.h"
#include "platform/sound/soundplayer.h"
#include "platform/widgets/commandbutton.h"
#include "platform/widgets/filedialog.h"
#include "platform/widgets/followowner.h"
#include "platform/widgets/messagebox.h"
#include "platform/widgets/twips.h"
#include "settings/modpomvale.h"

#include <QCheckBox>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

using platform::twipsRect;

namespace {

// Only the program sets the grayed state (from a hand-edited settings file): a click or Space moves
// between clear and ticked, and from grayed to ticked.
class TwoStateClickCheckBox final : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

QPushButton *makePictureButton(QWidget *parent, const QString &name, const QString &picture,
                               const QString &accessibleName, const QRect &geometry)
{
    QPushButton *button = platform::makeCommandButton(parent, QString(), name, geometry);
    const QPixmap pixmap(picture);
    button->setIcon(pixmap);
    button->setIconSize(pixmap.size());
    // Without a caption a screen reader would have nothing to tell the two apart.
    button->setAccessibleName(accessibleName);
    return button;
}

} // namespace

frmOption::frmOption(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("オプション画面"));
    // No border and no title bar; as a dialog owned by the main window it stays out of the taskbar.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(platform::twips(3765), platform::twips(2235));
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
    OKButton = platform::makeCommandButton(this, QStringLiteral("OK"), QStringLiteral("OKButton"),
                                           twipsRect(120, 1680, 1215, 375));
    CancelButton = platform::makeCommandButton(this, QStringLiteral("ｷｬﾝｾﾙ"), QStringLiteral("CancelButton"),
                                               twipsRect(2400, 1680, 1215, 375));

    chkSoundEnable = new TwoStateClickCheckBox(QStringLiteral("時間経過時、音を鳴らす"), this);
    chkSoundEnable->setObjectName(QStringLiteral("chkSoundEnable"));
    chkSoundEnable->setGeometry(twipsRect(120, 360, 2535, 375));

    // Wider than the window on purpose: the window's right edge cuts it off after its words.
    lblTitle = new QLabel(QStringLiteral("オプション画面"), this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(twipsRect(120, 120, 4575, 255));

    frameSound = new QGroupBox(QStringLiteral("鳴らしたい音のファイル"), this);
    frameSound->setObjectName(QStringLiteral("frameSound"));
    frameSound->setGeometry(twipsRect(0, 720, 3735, 855));
    frameSound->hide();

    txtFileName = new QLineEdit(QStringLiteral("c:\\"), frameSound);
    txtFileName->setObjectName(QStringLiteral("txtFileName"));
    txtFileName->setGeometry(twipsRect(120, 360, 2775, 375));
    // Longer than any real path; a longer hand-edited value would take the box seconds and
    // gigabytes to lay out, so it shows cut (OK keeps it whole unless it was edited).
    txtFileName->setMaxLength(OptionsForm::MaxPathLength);
    txtFileName->installEventFilter(this);

    cmdOpenFile = makePictureButton(frameSound, QStringLiteral("cmdOpenFile"),
                                    QStringLiteral(":/options/openfile.png"),
                                    QStringLiteral("wavファイルを参照"), twipsRect(2880, 360, 375, 375));
    cmdOpenFile->setToolTip(QStringLiteral("wavファイルを参照します。"));
    cmdPlay = makePictureButton(frameSound, QStringLiteral("cmdPlay"), QStringLiteral(":/options/play.png"),
                                QStringLiteral("音を試聴"), twipsRect(3240, 360, 375, 375));

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

int frmOption::checkValue() const
{
    switch (chkSoundEnable->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

void frmOption::setCheckValue(int value)
{
    chkSoundEnable->setCheckState(value == 1       ? Qt::Checked
                                      : value == 2 ? Qt::PartiallyChecked
                                                   : Qt::Unchecked);
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

void frmOption::playSound(const std::u16string &name)
{
    platform::soundPlayer().play(QString::fromStdU16String(name));
}

void frmOption::stopSound()
{
    platform::soundPlayer().stop();
}

void frmOption::showWarning(const std::u16string &text, const std::u16string &title)
{
    platform::messageBox().warn(this, QString::fromStdU16String(text), QString::fromStdU16String(title));
}

void frmOption::unload()
{
    done(QDialog::Accepted); // modal showing returns; Form_Unload follows there
}

std::u16string frmOption::soundEnable() const
{
    return modPomvale::SoundEnable.toStdU16String();
}

std::u16string frmOption::soundPath() const
{
    return modPomvale::SoundPath.toStdU16String();
}

OptionsWindow::SaveOutcome frmOption::storeAndSave(const std::u16string &soundEnable,
                                                   const std::u16string &soundPath)
{
    modPomvale::SoundEnable = QString::fromStdU16String(soundEnable);
    modPomvale::SoundPath = QString::fromStdU16String(soundPath);
    const modPomvale::SaveResult saved = modPomvale::SaveOption();
    if (saved.notInFileEncoding)
        return SaveOutcome::NotInFileEncoding;
    return saved ? SaveOutcome::Saved : SaveOutcome::Failed;
}

std::u16string frmOption::settingsFileForDisplay() const
{
    // SaveOption has set IniPath to the file it tried to write.
    return QDir::toNativeSeparators(modPomvale::IniPath).toStdU16String();
}
