// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/optionsform.h"
#include "core/optionswindow.h"
#include "platform/programsoundsettings.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The options window: switches the alarm sound on or off and chooses, browses for and previews its
// WAV file. One object serves one opening. What it decides is toolkit-free (OptionsForm); this window
// shows it and passes it the clicks.
class frmOption final : public QDialog, private OptionsWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmOption)

public:
    explicit frmOption(QWidget *owner);

    // Loads the window, shows it modal centred over its owner, and returns once it is unloaded.
    void showModal();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();

    // What the options logic asks of its window and of the settings.
    CheckValue checkValue() const override;
    void setCheckValue(CheckValue value) override;
    std::u16string pathText() const override;
    void setPathText(const std::u16string &text) override;
    void selectAllPathText() override;
    void setFrameVisible(bool visible) override;
    std::u16string showOpenDialog(const std::u16string &filter) override;
    void showWarning(const std::u16string &text, const std::u16string &title) override;
    void unload() override;

    OptionsForm m_form {*this, programSoundSettings()};

    // Made with the window, in tab order.
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QCheckBox *chkSoundEnable = nullptr;
    QLabel *lblTitle = nullptr;
    QGroupBox *frameSound = nullptr;
    QLineEdit *txtFileName = nullptr;
    QPushButton *cmdOpenFile = nullptr;
    QPushButton *cmdPlay = nullptr;
};
