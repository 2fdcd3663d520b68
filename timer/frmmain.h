#pragma once

#include <QMainWindow>

#include <array>

class QAction;
class QLabel;
class QPushButton;

namespace platform {
class TimerControl;
}

// The main window: one countdown, entered on a keypad, shown as "MM:SS".
class frmMain final : public QMainWindow
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmMain)

public:
    explicit frmMain(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void setupDesign();

    // Time entry and display
    void Form_Load();
    void Form_KeyPress(int KeyAscii);
    void cmdNum_Click(int Index);
    void PushDigit(int Digit);
    void ShowTime(int Selector);
    void RestoreSetTime();

    // Run control and alarm
    void cmdStart_Click();
    void cmdReset_Click();
    void timeTic_Timer();

    void mnOption_Click();

    QLabel *lblDisp = nullptr;
    std::array<QPushButton *, 10> cmdNum {};
    QPushButton *cmdReset = nullptr;
    QPushButton *cmdStart = nullptr;
    platform::TimerControl *timeTic = nullptr;
    QAction *mnOption = nullptr;

    // The countdown. Minutes and seconds are 16-bit like the keypad's four digits allow.
    qint16 SetMin = 0; // the time last started; a reset returns to it
    qint16 SetSec = 0;
    QString DispText; // the text last written to lblDisp
    QString DigitText; // work string of PushDigit
    qint16 InMin = 0; // the entered time, 0..99 each
    qint16 InSec = 0;
    qint16 LeftMin = 0; // the remaining time of the current run
    qint16 LeftSec = 0;
};
