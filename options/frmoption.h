#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The options window: switches the alarm sound on or off and chooses, browses for and previews its
// WAV file. One object serves one opening.
class frmOption final : public QDialog
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

    void Form_Load();
    void Form_Unload();
    void chkSoundEnable_Click();
    void UpdateSoundFrame();
    void cmdOpenFile_Click();
    void cmdPlay_Click();
    void OKButton_Click();
    void CancelButton_Click();
    void txtFileName_GotFocus();

    int checkValue() const;
    void setCheckValue(int value);

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
